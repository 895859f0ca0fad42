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

    bool loaded() const { return refusal.empty(); }
};

} // namespace korvel
