// The entries of the port list, in its order: an index stored in the settings keeps its
// meaning (the pseudo-terminal and UDP came after the first 24).
#pragma once

#include <string>
#include <vector>

namespace korvel {

constexpr int kSerialPortCount = 16; // COM1 to COM16 lead the list

const std::vector<std::string>& PortEntries();

// The entry's place in the list, -1 when it is none of them.
int PortEntryIndex(const std::string& entry);

} // namespace korvel
