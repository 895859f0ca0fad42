// What the latest record says of the motion: shown as figures, and carried by the sentences
// made for it (a log's VTG where it has none, a track's RMC, GGA and VTG).
#pragma once

#include "replay/track_record.h"

#include <string>

namespace korvel {

struct RecordFigures {
    std::string knotsText;         // the speed over ground as the sentences carry it; empty: none
    double kmh = 0;                // the same in whole km/h
    std::string courseText;        // a log's course over ground, as its RMC carries it
    double altitude = kNoAltitude; // whole metres of the latest fix
};

} // namespace korvel
