#include "output/port_entries.h"

#include <algorithm>

namespace korvel {

const std::vector<std::string>& PortEntries() {
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> list;
        for (int i = 1; i <= kSerialPortCount; ++i)
            list.push_back("COM" + std::to_string(i));
        for (int i = 1; i <= 4; ++i)
            list.push_back("Port" + std::to_string(i));
        for (int i = 1; i <= 3; ++i)
            list.push_back("LPT" + std::to_string(i));
        for (const char* other : {"TCP", "PTY", "UDP"})
            list.push_back(other);
        return list;
    }();
    return entries;
}

int PortEntryIndex(const std::string& entry) {
    const std::vector<std::string>& entries = PortEntries();
    auto found = std::find(entries.begin(), entries.end(), entry);
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

int PortIndexOrDefault(long stored) {
    if (stored >= 0 && stored < static_cast<long>(PortEntries().size()))
        return static_cast<int>(stored);
    return PortEntryIndex(kDefaultPortEntry);
}

} // namespace korvel
