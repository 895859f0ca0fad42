// Printer port devices as device files: LPT1 is /dev/lp0 unless deviceFor says otherwise. Only a
// character device, or a file that is empty or holds NMEA lines, is written to.
#pragma once

#include "platform/printer_devices.h"

#include <functional>

namespace korvel {

class FilePrinters : public PrinterDevices {
  public:
    explicit FilePrinters(std::function<std::string(const std::string& name)> deviceFor);
    bool probe(const std::string& name, std::string& error) override;
    bool write(const std::string& name, const std::string& bytes, std::string& error) override;

  private:
    // Opens device for writing with flags added; -1, with why in error, when it cannot be
    // opened or is no printer the sentences may go to.
    static int openPrinter(const std::string& device, int flags, std::string& error);

    std::function<std::string(const std::string&)> deviceFor_;
};

} // namespace korvel
