// Printer port devices, each opened, written and closed for every sentence.
#pragma once

#include <string>

namespace korvel {

// A printer port device opened, written and closed for each sentence.
class PrinterDevices {
  public:
    virtual ~PrinterDevices() = default;
    // name is "LPT1" ... "LPT3"; false with a reason when the device cannot be opened.
    virtual bool probe(const std::string& name, std::string& error) = 0;
    // false with a reason when the device cannot be written.
    virtual bool write(const std::string& name, const std::string& bytes, std::string& error) = 0;
};

} // namespace korvel
