// How many TCP clients the process can hold: each takes a descriptor.
#pragma once

namespace korvel {

// Descriptors kept for all else: files, the window, the serial ports, the pseudo-terminal.
constexpr int kDescriptorsKept = 64;

// Makes room for wanted clients (raising the process's descriptor limit as far as the system
// lets it) and returns how many of them fit, at least one.
int TcpClientsThatFit(int wanted);

} // namespace korvel
