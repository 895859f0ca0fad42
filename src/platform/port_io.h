// Direct output of one byte to an I/O address (a UART's transmit register).
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

class PortIO {
  public:
    virtual ~PortIO() = default;
    // False with a reason when the process may not address ports directly.
    virtual bool available(std::string& why) = 0;
    virtual void PortOut(std::uint16_t address, std::uint8_t value) = 0;
};

} // namespace korvel
