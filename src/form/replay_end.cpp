// The end of a replay (stop or loop), the reset of the statistics, skipping forward and the
// start of a new track segment.
#include "form/main_form.h"
#include "replay/sentence_type.h"
#include "replay/step_pace.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::StopReplay(StopReason reason) {
    if (engine_.options.loop && reason == StopReason::EndOfFile) {
        c.List1.clear();
        c.List1.addItem(std::string(80, '>'));
        closeAllFiles();
        std::optional<std::string> cannot = engine_.loopBack();
        figures_.clear();
        if (cannot) {
            refuseLoad({*cannot});
            return;
        }
        // A second's pause before the first record again.
        c.Timer1.setInterval(kLoopPauseMs);
        return;
    }
    if (reason != StopReason::StopKeepingMessages)
        c.List1.clear();
    c.PortC.enabled = true;
    c.Timer1.setEnabled(false);
    c.StepDue.setEnabled(false);
    ports_.outputs().close(); // no tick comes while the readers are waited for
    closeAllFiles();
    engine_.stop();
    c.StopA.visible = false;
    c.DirSel.enabled = true;
    c.FileL.caption.clear();
    c.Pause.value.set(0);
    c.AutoSkip.backColor = kGrey;
    c.File1.enabled = true;
    c.RunA.visible = false;
    c.Gauge2.value = 0;
    c.Equ.enabled = true;
    c.Gauge2.toolTip = "Records";
    c.AutoSkip.enabled = true;
    c.Pause.enabled = c.RESTART.enabled = c.Back.enabled = c.Skip2.enabled = false;
    c.Gauge1.style = 50;
    figures_.clear();
    c.DownloadC.enabled = c.DownloadC.visible = true;
    c.DIA.cls();
    c.DIA.toolTip = "Altitude";
    c.Skip1.toolTip = "Start";
    c.MiniA.visible = false;
    c.Data[0].foreColor = c.Data[2].foreColor = c.Data[6].foreColor = kMagenta;
    c.Manu.enabled = true;
    for (CheckBox& box : c.Data)
        box.enabled = true;
    ports_.CloseTcpConnections();
}

void MainForm::ResetTripDisplay() {
    engine_.restartTrip();
    figures_.clear();
}

void MainForm::SkipRecords(long count) {
    long passed = engine_.skip(count, [this] {
        platform_.clock.DoEvents();
        return engine_.active;
    });
    if (!engine_.active)
        return; // stopped meanwhile
    if (passed < count)
        StopReplay(StopReason::EndOfFile);
    else if (engine_.kind == FileKind::Log)
        c.List1.clear();
}

} // namespace korvel
