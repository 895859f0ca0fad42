// Direct output to I/O addresses through ioperm and outb, where the machine allows it.
#pragma once

#include "platform/port_io.h"

namespace korvel {

class PosixPortIO : public PortIO {
  public:
    bool available(std::string& why) override;
    void transmit(std::uint16_t address, std::string_view bytes, int gapMs) override;

  private:
    enum class Access { Unknown, Granted, Refused };
    Access access_ = Access::Unknown;
    std::string why_;
};

} // namespace korvel
