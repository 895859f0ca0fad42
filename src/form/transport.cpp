// The transport row: pause and step, skips, back, seek by the record gauge, stop, loop, the
// last-record option, the intervals, the sentence-box presets and minimizing.
#include "form/main_form.h"
#include "form/transport_presenter.h"
#include "replay/step_pace.h"
#include "text/conversions.h"

#include <algorithm>
#include <utility>

namespace korvel {

TransportPresenter::TransportPresenter(const FormPart& part, ReplayEngine& engine)
    : FormPart(part), engine_(engine) {
    c.Pause.value.event = [this] { Pause_Click(); };
    c.Skip1.onClick = [this] { Skip1_Click(); };
    c.Skip2.onClick = [this] { Skip2_Click(); };
    c.Back.onClick = [this] { Back_Click(); };
    c.Gauge2.onMouseDown = [this](double x) { Gauge2_MouseDown(x); };
    c.AutoSkip.onMouseDown = [this] { AutoSkip_MouseDown(); };
    c.AutoSkip.onMouseUp = [this] { AutoSkip_MouseUp(); };
    c.AutoSkip.value.event = [this] { AutoSkip_Click(); };
    c.StopA.onClick = [this] { StopA_Click(); };
    c.Lop.value.event = [this] { Lop_Click(); };
    c.Last.value.event = [this] { Last_Click(); };
    // The boxes that choose what a replay does say it to its options at every change.
    for (size_t i = 0; i < c.Data.size(); ++i)
        c.Data[i].value.event = [this, i] {
            engine_.options.sentences.set(static_cast<Sentence>(i), c.Data[i].value.get() == 1);
        };
    c.Equ.value.event = [this] { engine_.options.sameTimePosition = c.Equ.value.get() == 1; };
    c.AutoReset.value.event = [this] { engine_.options.autoReset = c.AutoReset.value.get() == 1; };
    for (int i = 0; i < 8; ++i)
        c.Abstand[static_cast<size_t>(i)].value.event = [this, i] {
            if (c.Abstand[static_cast<size_t>(i)].value.get())
                Abstand_Click(i);
        };
    c.RMCRMB.onClick = [this] { RMCRMB_Click(); };
    c.Command1.onClick = [this] { Command1_Click(); };
    c.MinC.value.event = [this] { MinC_Click(); };
    c.MiniA.onClick = [this] { platform.host.minimize(); };
    c.MinimizeDue.onTimer = [this] {
        c.MinimizeDue.setEnabled(false);
        if (engine_.active) // not when the run ended within its first second
            MinC_Click();
    };
    for (CheckBox& box : c.Data)
        box.value.event(); // the boxes' first values, which no change has said yet
}

bool TransportPresenter::takeStepOnce() {
    return std::exchange(stepOnce_, false);
}

void TransportPresenter::Pause_Click() {
    bool paused = c.Pause.value.get() == 1;
    c.Skip1.toolTip = paused ? "Skip 1" : "Skip 10";
    c.RESTART.enabled = c.Back.enabled = c.Skip2.enabled = !paused;
    c.focus = "ENDE";
    c.PauseL.visible = paused;
}

void TransportPresenter::Skip1_Click() {
    if (c.Manu.value.get() == 1) {
        // The start of the manual simulation.
        if (!platform.comm1.isOpen() && !form.ports().openOutputs())
            return;
        c.Timer1.setInterval(1000);
        c.Timer1.setEnabled(true);
        c.StopA.visible = true;
        if (!c.FileL.caption.empty())
            c.SaveP.enabled = c.SaveT.enabled = true;
        c.Skip1.enabled = c.PortC.enabled = false;
        form.manual().stream().moved = 0;
    } else if (c.Pause.value.get() == 1) {
        stepOnce_ = true;
    } else if (c.StopA.visible) {
        form.SkipRecords(10);
    } else if (c.File1.fileName().empty()) {
        c.List1.clear();
        c.List1.addItem("Choose a file in the list first.");
    } else {
        form.File1_Click();
    }
}

void TransportPresenter::Skip2_Click() {
    form.SkipRecords(100);
}

void TransportPresenter::Back_Click() {
    form.SeekRecord(static_cast<double>(engine_.index - 50));
}

void TransportPresenter::Gauge2_MouseDown(double x) {
    if (!c.StopA.visible || c.Gauge2.width <= 0)
        return;
    // The bar reaches the end before its right edge; the last record is still sent.
    double target = Int(static_cast<double>(engine_.count) / c.Gauge2.width * x * 1.02);
    form.SeekRecord(std::min(target, static_cast<double>(engine_.count)));
}

void TransportPresenter::AutoSkip_MouseDown() {
    if (!c.StopA.visible)
        engine_.kind = FileKind::Log;
    if (engine_.kind != FileKind::Track)
        return;
    // A track file: on to the start of the next segment, which the next tick sends.
    if (!engine_.toNextSegment())
        form.StopReplay(StopReason::EndOfFile);
}

void TransportPresenter::AutoSkip_MouseUp() {
    if (engine_.kind == FileKind::Track)
        c.AutoSkip.value.set(0); // a push button for track files
}

void TransportPresenter::AutoSkip_Click() {
    if (engine_.kind == FileKind::Track) {
        form.ResetTripDisplay();
        return;
    }
    c.focus = "ENDE";
    c.AutoL.visible = c.AutoSkip.value.get() == 1;
    engine_.options.autoSkip = c.AutoSkip.value.get() == 1;
}

void TransportPresenter::StopA_Click() {
    if (c.Manu.value.get() == 1) {
        c.PortC.enabled = true;
        c.SaveP.enabled = false;
        c.Gauge1.style = 50;
        c.Timer1.setEnabled(false);
        form.ports().outputs().deliverTheRest();
        if (platform.comm1.isOpen())
            platform.comm1.close();
        c.StopA.visible = false;
        c.List1.clear();
        c.Skip1.enabled = true;
        c.focus = "HSc1(3)";
        c.DistL.caption.clear();
        c.TripL.caption.clear();
        return;
    }
    c.Manu.enabled = true;
    form.StopReplay(StopReason::Stop);
}

void TransportPresenter::Lop_Click() {
    c.focus = "ENDE";
    engine_.options.loop = c.Lop.value.get() == 1;
    c.LoopL.visible = engine_.options.loop;
}

void TransportPresenter::Last_Click() {
    bool last = engine_.options.newestOnly = c.Last.value.get() == 1;
    for (OptionButton& option : c.Abstand)
        option.enabled = !last;
    if (last) {
        savedInterval_ = c.Timer1.interval();
        return;
    }
    c.Timer1.setEnabled(false);
    c.Timer1.setInterval(savedInterval_);
    if (engine_.active)
        c.Timer1.setEnabled(true);
}

void TransportPresenter::Abstand_Click(int index) {
    if (c.Manu.value.get() == 1) {
        if (kManualPeriodMs[index] != 0)
            c.Timer1.setInterval(kManualPeriodMs[index]);
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

void TransportPresenter::RMCRMB_Click() {
    for (size_t i = 0; i < c.Data.size(); ++i)
        c.Data[i].value.set(i < 2 ? 1 : 0);
    c.focus = "ENDE";
}

void TransportPresenter::Command1_Click() {
    for (CheckBox& box : c.Data)
        box.value.set(1);
    c.focus = "ENDE";
}

void TransportPresenter::MinC_Click() {
    if (!c.StopA.visible)
        return;
    c.MinC.value.set(1);
    c.MiniA.visible = true;
    platform.host.minimize();
}

} // namespace korvel
