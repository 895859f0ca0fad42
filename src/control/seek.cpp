// Moving a running replay: restart and seek to a record.
#include "app/main_form.h"

namespace korvel {

void MainForm::SeekRecord(double target) {
    openReplayFile();
    s.repositioning = 1;
    s.seekQuiet = 1;
    ResetTripDisplay();
    s.recordIndex = 0;
    // A track's segments are counted again as its points are passed.
    s.segmentCount = 0;
    if (target <= 0) {
        if (s.fileKind == FileKind::Log)
            SkipToFirstRmc();
        s.repositioning = 0;
        return;
    }
    SkipRecords(static_cast<long>(target));
    s.repositioning = 0;
    s.seekQuiet = 0;
}

void MainForm::RESTART_Click() {
    openReplayFile();
    s.recordIndex = 0;
    // The trip starts again where the file does: no leg back from where the replay stood.
    s.trip.forgetPoints();
    ResetTripDisplay();
    s.segmentCount = 0;
    c.List1.clear();
    if (s.fileKind == FileKind::Log)
        SkipToFirstRmc();
}

} // namespace korvel
