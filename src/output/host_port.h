// A network address as the user writes it: HOST:PORT, [IPv6]:PORT, or a host alone.
#pragma once

#include <optional>
#include <string>

namespace korvel {

struct HostPort {
    std::string host; // without the brackets of an IPv6 address
    int port = 0;
};

// The host and port of text; the port is defaultPort where text names none (an IPv6 address
// without brackets names none). None for an empty host or a port outside 1 to 65535.
std::optional<HostPort> SplitHostPort(const std::string& text, int defaultPort);

} // namespace korvel
