#include "app/serial_devices.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace korvel {

namespace {

// A ttyS port the kernel found a UART for: its type is not 0 (unknown).
bool hasUart(const std::filesystem::path& port) {
    int type = 0;
    std::ifstream(port / "type") >> type;
    return type != 0;
}

} // namespace

std::vector<std::string> PresentSerialDevices(const std::string& ttyClass) {
    struct Found {
        std::string kind;
        long number;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ttyClass, ec)) {
        std::string name = entry.path().filename().string();
        for (const char* kind : {"ttyUSB", "ttyACM", "ttyS"}) {
            std::string digits = name.substr(std::min(name.size(), std::string(kind).size()));
            if (!name.starts_with(kind) || digits.empty() || digits.size() > 6 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (std::string(kind) != "ttyS" || hasUart(entry.path()))
                found.push_back({kind, std::stol(digits)});
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.kind, a.number) < std::tie(b.kind, b.number);
    });
    std::vector<std::string> devices;
    for (const Found& device : found)
        devices.push_back("/dev/" + device.kind + std::to_string(device.number));
    return devices;
}

} // namespace korvel
