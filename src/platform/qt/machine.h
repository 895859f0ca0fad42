// The services of this machine that both front ends use; the front end adds the dialogs and
// the host of the form.
#pragma once

#include "app/device_names.h"
#include "platform/platform.h"
#include "platform/posix/file_printers.h"
#include "platform/posix/posix_port_io.h"
#include "platform/posix/posix_stream_devices.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_socket_array.h"

#include <csignal>

namespace korvel {

struct Machine {
    explicit Machine(const DeviceNames& names)
        : devices(names), comm1([this](int port) { return devices.serial(port); }),
          comm2([this](int port) { return devices.serial(port); }),
          printers([this](const std::string& name) { return devices.printer(name); }) {
        // A client or device that goes away must not end the program.
        std::signal(SIGPIPE, SIG_IGN);
    }
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    Platform platform(Dialogs& dialogs, WindowHost& host) {
        return {comm1, comm2, winsock, portIO, printers, clock, dialogs, host, pty, udp};
    }

    DeviceNames devices;
    QtClock clock;
    QtSerialPort comm1, comm2;
    QtSocketArray winsock;
    PosixPortIO portIO;
    FilePrinters printers;
    PosixPseudoTerminal pty;
    PosixDatagramSender udp;
};

} // namespace korvel
