// The transport row: pause and step, skips, back, seek by the record gauge, stop, loop, the
// last-record option, the intervals, the sentence-box presets and minimizing.
#include "form/main_form.h"
#include "replay/step_pace.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::Pause_Click() {
    bool paused = c.Pause.value.get() == 1;
    c.Skip1.toolTip = paused ? "Skip 1" : "Skip 10";
    c.RESTART.enabled = c.Back.enabled = c.Skip2.enabled = !paused;
    c.focus = "ENDE";
    c.PauseL.visible = paused;
}

void MainForm::Skip1_Click() {
    if (c.Manu.value.get() == 1) {
        // The start of the manual simulation.
        if (!platform_.comm1.isOpen() && !ports_.openOutputs())
            return;
        c.Timer1.setInterval(1000);
        c.Timer1.setEnabled(true);
        c.StopA.visible = true;
        if (!c.FileL.caption.empty())
            c.SaveP.enabled = c.SaveT.enabled = true;
        c.Skip1.enabled = c.PortC.enabled = false;
        manual_.stream().moved = 0;
    } else if (c.Pause.value.get() == 1) {
        s.stepOnce = 1;
    } else if (c.StopA.visible) {
        SkipRecords(10);
    } else if (c.File1.fileName().empty()) {
        c.List1.clear();
        c.List1.addItem("Choose a file in the list first.");
    } else {
        File1_Click();
    }
}

void MainForm::Skip2_Click() {
    SkipRecords(100);
}

void MainForm::Back_Click() {
    SeekRecord(static_cast<double>(engine_.index - 50));
}

void MainForm::Gauge2_MouseDown(double x) {
    if (!c.StopA.visible || c.Gauge2.width <= 0)
        return;
    SeekRecord(Int(static_cast<double>(engine_.count) / c.Gauge2.width * x * 1.02));
}

void MainForm::AutoSkip_MouseDown() {
    if (!c.StopA.visible)
        engine_.kind = FileKind::Log;
    if (engine_.kind != FileKind::Track)
        return;
    // A track file: on to the start of the next segment, which the next tick sends.
    if (!engine_.toNextSegment())
        StopReplay(StopReason::EndOfFile);
}

void MainForm::AutoSkip_MouseUp() {
    if (engine_.kind == FileKind::Track)
        c.AutoSkip.value.set(0); // a push button for track files
}

void MainForm::AutoSkip_Click() {
    if (engine_.kind == FileKind::Track) {
        ResetTripDisplay();
        return;
    }
    c.focus = "ENDE";
    c.AutoL.visible = c.AutoSkip.value.get() == 1;
    engine_.options.autoSkip = c.AutoSkip.value.get() == 1;
}

void MainForm::StopA_Click() {
    if (c.Manu.value.get() == 1) {
        c.PortC.enabled = true;
        c.SaveP.enabled = false;
        c.Gauge1.style = 50;
        c.Timer1.setEnabled(false);
        ports_.outputs().deliverTheRest();
        if (platform_.comm1.isOpen())
            platform_.comm1.close();
        c.StopA.visible = false;
        c.List1.clear();
        c.Skip1.enabled = true;
        c.focus = "HSc1(3)";
        c.DistL.caption.clear();
        c.TripL.caption.clear();
        return;
    }
    c.Manu.enabled = true;
    StopReplay(StopReason::Stop);
}

void MainForm::Lop_Click() {
    c.focus = "ENDE";
    engine_.options.loop = c.Lop.value.get() == 1;
    c.LoopL.visible = engine_.options.loop;
}

void MainForm::Last_Click() {
    bool last = engine_.options.newestOnly = c.Last.value.get() == 1;
    for (OptionButton& option : c.Abstand)
        option.enabled = !last;
    if (last) {
        s.savedInterval = c.Timer1.interval();
        return;
    }
    c.Timer1.setEnabled(false);
    c.Timer1.setInterval(s.savedInterval);
    if (engine_.active)
        c.Timer1.setEnabled(true);
}

void MainForm::Abstand_Click(int index) {
    if (c.Manu.value.get() == 1) {
        static const int manualIntervals[] = {0, 0, 0, 100, 1000, 2000, 0, 0};
        if (manualIntervals[index] != 0)
            c.Timer1.setInterval(manualIntervals[index]);
        c.focus = "HSc1(3)";
        return;
    }
    c.Timer1.setEnabled(false);
    c.Timer1.setInterval(100);
    IntervalOption option = IntervalOptionAt(index);
    engine_.step = option.step;
    engine_.options.intervalMs = option.periodMs;
    if (engine_.active)
        c.Timer1.setEnabled(true);
}

void MainForm::RMCRMB_Click() {
    for (size_t i = 0; i < c.Data.size(); ++i)
        c.Data[i].value.set(i < 2 ? 1 : 0);
    c.focus = "ENDE";
}

void MainForm::Command1_Click() {
    for (CheckBox& box : c.Data)
        box.value.set(1);
    c.focus = "ENDE";
}

void MainForm::MinC_Click() {
    if (!c.StopA.visible)
        return;
    c.MinC.value.set(1);
    c.MiniA.visible = true;
    platform_.host.minimize();
}

void MainForm::MiniA_Click() {
    platform_.host.minimize();
}

} // namespace korvel
