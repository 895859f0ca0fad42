#include "replay/replay_engine.h"

namespace korvel {

ReplayEngine::NextRecord ReplayEngine::nextRecord() {
    if (kind != FileKind::Track)
        return {true, TimeOf(log_.line())}; // the line that starts the next record
    const TrackPoint* point = source_.peekPoint();
    if (!point)
        return {false, std::nullopt};
    return {true, TimeOf(point->fix.compactTime, Ddmmyy(point->fix))};
}

} // namespace korvel
