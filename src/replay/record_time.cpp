// The time of the record a replay sends next, known before it is sent: a replay paced by its
// records' own times waits for it.
#include "app/main_form.h"
#include "replay/track_record.h"
#include "text/conversions.h"

namespace korvel {

MainForm::NextRecord MainForm::nextRecord() {
    if (s.fileKind != 1)
        return {true, TimeOf(s.currentLine)}; // the line that starts the next record
    const TrackPoint* point = peekTrackPoint();
    if (!point)
        return {false, std::nullopt};
    std::string date;
    date.append(point->fix.day).append(MonthNumber(point->fix.month)).append(point->fix.year);
    return {true, TimeOf(point->fix.compactTime, Left(date, 4) + Right(date, 2))};
}

} // namespace korvel
