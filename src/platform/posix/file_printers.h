// Printer port devices as device files: LPT1 is /dev/lp0 unless deviceFor says otherwise.
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
    std::function<std::string(const std::string&)> deviceFor_;
};

} // namespace korvel
