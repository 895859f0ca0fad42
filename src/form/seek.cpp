// Moving a running replay: restart and seek to a record.
#include "form/main_form.h"

namespace korvel {

void MainForm::SeekRecord(double target) {
    openReplayFile();
    engine_.repositioning = true;
    engine_.seekQuiet = true;
    ResetTripDisplay();
    engine_.index = 0;
    // A track's segments are counted again as its points are passed.
    engine_.segments = 0;
    if (target <= 0) {
        if (engine_.kind == FileKind::Log)
            SkipToFirstRmc();
        engine_.repositioning = false;
        return;
    }
    SkipRecords(static_cast<long>(target));
    engine_.repositioning = false;
    engine_.seekQuiet = false;
}

void MainForm::RESTART_Click() {
    openReplayFile();
    engine_.index = 0;
    // The trip starts again where the file does: no leg back from where the replay stood.
    s.trip.forgetPoints();
    ResetTripDisplay();
    engine_.segments = 0;
    c.List1.clear();
    if (engine_.kind == FileKind::Log)
        SkipToFirstRmc();
}

} // namespace korvel
