// Moving a running replay: restart and seek to a record.
#include "app/main_form.h"

namespace korvel {

void MainForm::SeekRecord(double target) {
    openReplayFile();
    s.repositioning = 1;
    s.seekQuiet = 1;
    ResetTripDisplay();
    s.recordIndex = 0;
    if (target <= 0) {
        if (s.segmentCount != 0)
            s.segmentCount = 1;
        if (s.fileKind == 0)
            SkipToFirstRmc();
        else
            SkipToTrackRecord();
        s.repositioning = 0;
        return;
    }
    s.segmentCount = 0;
    SkipRecords(static_cast<long>(target));
    if (s.fileKind != 0 && s.replayActive == 1)
        SkipToTrackRecord();
    s.repositioning = 0;
    s.seekQuiet = 0;
}

void MainForm::RESTART_Click() {
    openReplayFile();
    s.recordIndex = 0;
    s.startLat = kNoPosition;
    ResetTripDisplay();
    if (s.segmentCount != 0)
        s.segmentCount = 1;
    c.List1.clear();
    if (s.fileKind == 0)
        SkipToFirstRmc();
    else
        DetectTrackFormat();
}

} // namespace korvel
