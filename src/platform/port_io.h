// Direct output to an I/O address (a UART's transmit register).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

class PortIO {
  public:
    virtual ~PortIO() = default;
    // False with a reason when the process may not address ports directly.
    virtual bool available(std::string& why) = 0;
    // Writes bytes to address one at a time, each followed by a pause of gapMs: a UART without
    // a buffer takes a byte only once the one before has left. The pause belongs to the wire,
    // so it holds however fast the replay runs.
    virtual void transmit(std::uint16_t address, std::string_view bytes, int gapMs) = 0;
};

} // namespace korvel
