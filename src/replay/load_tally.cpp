#include "replay/load_tally.h"

namespace korvel {

void LoadTally::logLine(unsigned sentences) {
    if (sentences & kRmc) {
        rmc = true;
        ++rmcLines;
    }
    if (sentences & kGga) {
        gga = true;
        if (!rmc)
            ++ggaLinesBeforeRmc;
    }
    if (sentences & kVtg)
        vtg = true;
}

void LoadTally::append(const LoadTally& later, bool withCurve) {
    rmcLines += later.rmcLines;
    if (!rmc)
        ggaLinesBeforeRmc += later.ggaLinesBeforeRmc;
    trackPoints += later.trackPoints;
    rmc = rmc || later.rmc;
    gga = gga || later.gga;
    vtg = vtg || later.vtg;
    segmentLines = segmentLines || later.segmentLines;
    if (withCurve)
        curve.append(later.curve);
}

} // namespace korvel
