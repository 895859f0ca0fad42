// A host and port looked up for a socket: IPv4 or IPv6, the first address the resolver gives.
#pragma once

#include <netinet/in.h>
#include <string>

namespace korvel {

struct SocketAddress {
    sockaddr_storage address{};
    socklen_t length = 0;
    int family() const { return address.ss_family; }
};

// host:port for sockets of socketType (SOCK_STREAM, SOCK_DGRAM); false with why when the host
// cannot be looked up.
bool LookUpAddress(const std::string& host, int port, int socketType, SocketAddress& found,
                   std::string& error);

} // namespace korvel
