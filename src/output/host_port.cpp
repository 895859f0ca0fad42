#include "output/host_port.h"

#include "text/conversions.h"

namespace korvel {

std::optional<HostPort> SplitHostPort(const std::string& given, int defaultPort) {
    std::string text = Trim(given);
    size_t colon = text.rfind(':');
    std::string host = text.substr(0, colon);
    if (text.starts_with("[") && text.find(']') != std::string::npos) {
        host = text.substr(1, text.find(']') - 1);
        colon = text.find("]:") == std::string::npos ? std::string::npos : text.find("]:") + 1;
    } else if (text.find(':') != colon) {
        host = text;
        colon = std::string::npos;
    }
    host = Trim(host);
    double port = colon == std::string::npos ? defaultPort : Val(text.substr(colon + 1));
    if (host.empty() || port < 1 || port > 65535 || port != static_cast<int>(port))
        return std::nullopt;
    return HostPort{host, static_cast<int>(port)};
}

} // namespace korvel
