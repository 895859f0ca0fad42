// The time of the record a replay sends next, known before it is sent: a replay paced by its
// records' own times waits for it.
#include "app/main_form.h"
#include "replay/track_record.h"

namespace korvel {

MainForm::NextRecord MainForm::nextRecord() {
    if (s.fileKind != FileKind::Track)
        return {true, TimeOf(log_.line())}; // the line that starts the next record
    const TrackPoint* point = source_.peekPoint();
    if (!point)
        return {false, std::nullopt};
    return {true, TimeOf(point->fix.compactTime, Ddmmyy(point->fix))};
}

} // namespace korvel
