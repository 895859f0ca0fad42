// The end of a replay (stop or loop), the reset of the statistics, skipping forward and the
// start of a new track segment.
#include "app/main_form.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

namespace {
constexpr int kLoopPauseMs = 1000;
}

void MainForm::StopReplay(StopReason reason) {
    if (engine_.options.loop && reason == StopReason::EndOfFile) {
        c.List1.clear();
        c.List1.addItem(std::string(80, '>'));
        openReplayFile();
        engine_.segments = 0;
        ResetTripDisplay();
        if (engine_.kind != FileKind::Log && !engine_.source().peekPoint()) {
            // The file was emptied, cut short or removed while it played: there is nothing
            // left to loop over.
            StopReplay(StopReason::StopKeepingMessages);
            c.List1.addItem("The file holds no record any more: the replay stops.");
            return;
        }
        if ((engine_.kind == FileKind::Log && !SkipToFirstRmc()) || !engine_.active)
            return;
        engine_.index = 0;
        // A second's pause before the first record again.
        c.Timer1.setInterval(kLoopPauseMs);
        return;
    }
    if (reason != StopReason::StopKeepingMessages)
        c.List1.clear();
    c.PortC.enabled = true;
    c.Timer1.setEnabled(false);
    c.StepDue.setEnabled(false);
    outputs_.deliverTheRest(); // no tick comes while the readers are waited for
    closeAllFiles();
    c.StopA.visible = false;
    engine_.log().forgetHsmi();
    c.DirSel.enabled = true;
    c.FileL.caption.clear();
    c.Pause.value.set(0);
    c.AutoSkip.backColor = kGrey;
    engine_.active = false;
    if (platform_.comm1.isOpen()) {
        platform_.comm1.close();
        CloseTcpConnections();
    }
    c.File1.enabled = true;
    c.RunA.visible = false;
    c.Gauge2.value = 0;
    c.Equ.enabled = true;
    c.Gauge2.toolTip = "Records";
    c.AutoSkip.enabled = true;
    s.trip.forgetFastest();
    s.trip.forgetPoints();
    engine_.trackFormat.clear();
    c.Pause.enabled = c.RESTART.enabled = c.Back.enabled = c.Skip2.enabled = false;
    engine_.segments = 0;
    c.Gauge1.style = 50;
    ResetTripDisplay();
    c.DownloadC.enabled = c.DownloadC.visible = true;
    c.DIA.cls();
    c.DIA.toolTip = "Altitude";
    c.Skip1.toolTip = "Start";
    c.MiniA.visible = false;
    s.latest.text.clear();
    c.Data[0].foreColor = c.Data[2].foreColor = c.Data[6].foreColor = kMagenta;
    c.Manu.enabled = true;
    for (CheckBox& box : c.Data)
        box.enabled = true;
    engine_.removeCompletedCopy();
    CloseTcpConnections();
}

void MainForm::ResetTripDisplay() {
    engine_.restartTrip();
    clearTripFigures();
}

void MainForm::clearTripFigures() {
    for (Label* label : {&c.WtL, &c.Datum, &c.Zeit, &c.SpeedL, &c.MaxL, &c.DistL, &c.TripL, &c.TTL,
                         &c.NNL, &c.NNminL, &c.NNmaxL})
        label->caption.clear();
    s.minAltitude = 9999;
    s.maxAltitude = 0;
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
