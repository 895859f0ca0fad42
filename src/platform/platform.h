// The services of the machine that MainForm calls, gathered in one place.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/port_io.h"
#include "platform/printer_devices.h"
#include "platform/serial_port.h"
#include "platform/socket_array.h"
#include "platform/stream_devices.h"
#include "platform/window_host.h"

namespace korvel {

struct Platform {
    SerialPort& comm1;
    SerialPort& comm2;
    SocketArray& winsock;
    PortIO& portIO;
    PrinterDevices& printers;
    Clock& clock;
    Dialogs& dialogs;
    WindowHost& host;
    PseudoTerminal& pty;
    DatagramSender& udp;
};

} // namespace korvel
