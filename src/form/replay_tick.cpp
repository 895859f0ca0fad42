// The replay tick: one record of the loaded file per tick of Timer1, and the pacing.
#include "form/main_form.h"
#include "replay/step_pace.h"
#include "text/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvel {

namespace {
constexpr int kLampMs = 400;
} // namespace

void MainForm::Timer1_Timer() {
    // A tick while the step of the one before is due brings nothing more.
    if (c.StepDue.enabled())
        return;
    // A monotonic clock: a step across midnight has its true duration.
    tickStart_ = platform_.clock.monotonicMs();
    // Manual mode over a log steps at once.
    if (c.Manu.value.get() == 1 && engine_.kind == FileKind::Log) {
        takeStep();
        return;
    }
    c.StepDue.setInterval(kStepDelayMs);
    c.StepDue.setEnabled(true);
}

void MainForm::takeStep() {
    c.StepDue.setEnabled(false);
    if (!c.Timer1.enabled())
        return; // the run stopped meanwhile
    ReplayStep();
    s.stepDurationMs = static_cast<double>(platform_.clock.monotonicMs() - tickStart_);
    if (engine_.options.newestOnly)
        c.Timer1.setInterval(kNewestPeriodMs);
}

void MainForm::ReplayStep() {
    ports_.holdFailures();
    stepRecord();
    ports_.tellHeldFailures();
}

void MainForm::stepRecord() {
    c.List1.clear();
    if (c.Manu.value.get() == 1) {
        c.List1.addItem("Position:  " + s.latest.text);
        manual_.GenerateManualSentences();
        return;
    }
    c.List1.toolTip = "NMEA-out";
    c.RunA.visible = true;
    lampDeadline_ = platform_.clock.monotonicMs() + kLampMs;
    c.Timer2.setEnabled(false);
    if (engine_.index < engine_.count)
        c.Gauge2.toolTip = "Records:" + Str(engine_.index + 1) + "/" + Str(engine_.count);
    if (engine_.kind != FileKind::Log)
        c.Equ.enabled = false; // the same-time option is for logs only
    bool stepOnce = transport_.takeStepOnce();
    if (c.Pause.value.get() == 1 && !stepOnce) {
        // Paused: the latest record again, every two seconds.
        engine_.sendPause(ports_);
        c.Timer1.setInterval(2000);
        c.Timer2.setEnabled(true);
        c.SpeedL.caption = "---";
        return;
    }
    RecordStep step = engine_.playNext(ports_);
    showStep(step);
    if (step.ended)
        StopReplay(StopReason::EndOfFile);
    else if (step.counted)
        finishRecord();
}

void MainForm::showStep(const RecordStep& step) {
    for (Sentence kind : {Sentence::Gga, Sentence::Rmb, Sentence::Gsa, Sentence::Gsv})
        if (step.seen.has(kind))
            c.Data[static_cast<size_t>(kind)].enabled = true;
    for (Sentence kind : {Sentence::Vtg, Sentence::Other})
        if (step.seen.has(kind))
            c.Data[static_cast<size_t>(kind)].foreColor = kMagenta;
    if (step.timeRestartedTrip)
        figures_.clear();
    if (engine_.kind == FileKind::Log)
        c.AutoSkip.backColor = step.standing ? 0x40C0 : kGrey;
    else if (!engine_.source().trackName().empty())
        c.FileL.caption = engine_.source().trackName();
    figures_.show(step);
}

void MainForm::finishRecord() {
    // The altitude's figures and manual mode's start.
    if (!engine_.log().hsmi() && !std::isnan(s.figures.altitude)) {
        int a = manual_.stream().position.altitude = ToInt(s.figures.altitude);
        // Manual mode starts from the altitude last replayed.
        char caption[24];
        char* end = std::to_chars(caption, caption + 11, a).ptr;
        c.nnM.caption.assign(caption, std::copy_n(" m NN", 5, end));
        figures_.showAltitude(a);
    }
    // Intervals of a second and more keep their period: the previous step's time comes off.
    if (std::optional<int> period = TickAfterRecord(engine_.options.intervalMs, s.stepDurationMs))
        c.Timer1.setInterval(*period);
    if (platform_.clock.monotonicMs() > lampDeadline_)
        c.RunA.visible = false;
    else
        c.Timer2.setEnabled(true);
    if (engine_.index <= c.Gauge2.max)
        c.Gauge2.value = static_cast<int>(engine_.index);
}

void MainForm::Timer2_Timer() {
    c.RunA.visible = false;
    c.Timer2.setEnabled(false);
}

} // namespace korvel
