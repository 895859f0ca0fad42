#include "platform/posix/address_lookup.h"

#include <cstring>
#include <netdb.h>
#include <sys/socket.h>

namespace korvel {

bool LookUpAddress(const std::string& host, int port, int socketType, SocketAddress& found,
                   std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC; // IPv4 or IPv6, to one host, a multicast group or a broadcast
    hints.ai_socktype = socketType;
    addrinfo* list = nullptr;
    int failed = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (failed != 0) {
        error = host + ": " + gai_strerror(failed);
        return false;
    }
    std::memcpy(&found.address, list->ai_addr, list->ai_addrlen);
    found.length = list->ai_addrlen;
    freeaddrinfo(list);
    return true;
}

} // namespace korvel
