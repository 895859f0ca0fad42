// Pseudo-terminals as the tests use them: a pair as a serial cable, and a reader of either end
// that takes the bytes as they are.
#pragma once

#include <string>

namespace korvel::test {

// Opens path for reading, without waiting, and makes it a raw terminal that keeps what waits to
// be read; -1 when it cannot be opened.
int OpenRawReader(const std::string& path);
// Appends what fd has to read now to into; false when the last read found nothing.
bool ReadWaiting(int fd, std::string& into);

// A pseudo-terminal pair as a serial cable: the program opens slave, the test holds master.
struct CablePair {
    CablePair();
    ~CablePair();
    CablePair(const CablePair&) = delete;
    CablePair& operator=(const CablePair&) = delete;
    // What has arrived at the master since the last call.
    std::string read();

    int master = -1;
    std::string slave;
};

} // namespace korvel::test
