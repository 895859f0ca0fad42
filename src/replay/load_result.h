// What the load of a replay file found: what the window shows of it, or why it cannot be
// replayed.
#pragma once

#include "files/altitude_curve.h"

#include <string>
#include <vector>

namespace korvel {

struct LoadResult {
    // Why the file cannot be replayed, in the words the user is told; empty when it can.
    std::vector<std::string> refusal;
    // The refusal is an error in the log's data, which the user is alerted to.
    bool dataError = false;
    AltitudeCurve curve;           // the altitudes over the records
    bool segments = false;         // a track whose points start segments
    bool completedFromGga = false; // a log without RMC, replayed through a completed copy
    // A log's recorded faults: sentences whose checksum is wrong (sent as recorded), and those
    // without one where the others have it (cut short, left out).
    long wrongChecksums = 0, cutShort = 0;

    bool loaded() const { return refusal.empty(); }
};

} // namespace korvel
