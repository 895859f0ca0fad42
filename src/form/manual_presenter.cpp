// Manual mode in the window: its controls, and what a tick of its stream shows.
#include "form/manual_presenter.h"
#include "form/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

ManualPresenter::ManualPresenter(const FormPart& part, const ReplayOptions& options,
                                 SentenceSink& sink)
    : FormPart(part), options_(options), sink_(sink) {
    for (int i = 0; i < 4; ++i) {
        c.VSc1[i].value.event = [this, i] { VSc1_Change(i); };
        c.HSc1[i].value.event = [this, i] { HSc1_Change(i); };
    }
    c.VSc2.value.event = [this] { VSc2_Change(); };
    c.VSc3.value.event = [this] { VSc3_Change(); };
    c.VSc4.value.event = [this] { VSc4_Change(); };
    c.Manu.value.event = [this] { Manu_Click(); };
    c.SetFN.onClick = [this] { SetFN_Click(); };
    c.SaveP.onClick = [this] { SaveP_Click(); };
    c.SaveT.onClick = [this] { SaveT_Click(); };
    // A point recorded flashes the button white until this ends it.
    c.FlashEnds.onTimer = [this] {
        c.FlashEnds.setEnabled(false);
        c.SaveP.backColor = kRed;
    };
    // The labels show the design values of their bars.
    for (int i = 0; i < 4; ++i) {
        VSc1_Change(i);
        HSc1_Change(i);
    }
    VSc2_Change();
    VSc3_Change();
    VSc4_Change();
    stream_.moved = 0;
}

void ManualPresenter::showManualControls(bool manual) {
    for (Control* file :
         std::initializer_list<Control*>{&c.File1, &c.FileT, &c.Label12, &c.LOA, &c.SAVE, &c.DirSel,
                                         &c.NMEA, &c.ALL, &c.TRACK, &c.Equ, &c.Last})
        file->visible = !manual;
    c.DownloadC.enabled = !manual;
    for (Control* control : std::initializer_list<Control*>{
             &c.ggn, &c.mmn, &c.ssn, &c.kkn, &c.ggo, &c.mmo, &c.sso, &c.kko, &c.SetFN, &c.SaveP,
             &c.SaveT, &c.VSc2, &c.VSc3, &c.nnM, &c.kmhM, &c.AutoM, &c.VSc4})
        control->visible = manual;
    for (size_t i = 0; i < 4; ++i)
        c.VSc1[i].visible = c.HSc1[i].visible = manual;
    c.Skip1.enabled = manual;
    c.AutoSkip.enabled = c.Lop.enabled = !manual;
    for (size_t i : {0, 1, 2, 6, 7})
        c.Abstand[i].enabled = !manual;
    for (size_t i = 3; i < 7; ++i)
        c.Data[i].enabled = !manual;
}

void ManualPresenter::Manu_Click() {
    bool manual = c.Manu.value.get() == 1;
    form.closeAllFiles();
    if (manual && c.StopA.visible) {
        c.Manu.enabled = true;
        form.StopReplay(StopReason::Stop);
    }
    showManualControls(manual);
    if (!manual) {
        c.Timer1.setEnabled(false);
        c.List1.clear();
        if (platform.comm1.isOpen())
            platform.comm1.close();
        form.ports().CloseTcpConnections();
        c.Lop.caption.clear();
        c.SaveT.enabled = c.SaveP.enabled = false;
        c.File1.refresh();
        s.latest.text.clear();
        form.figures().ApplyUnits();
        return;
    }
    c.Lop.caption = "<>";
    c.focus = "HSc1(3)";
    c.Skip1.toolTip = "Start";
    stream_.begin();
    LocalDateTime now = platform.clock.utcNow();
    recordTime_ = now.hour * 3600L + now.minute * 60L + now.second;
    if (s.latest.rmc.empty())
        return;
    // Go on from the latest RMC: its position sets the bars.
    auto tenths = [this](int field) {
        double minutes = SignedMinutesOfArc(ExtractField(s.latest.rmc, field),
                                            ExtractField(s.latest.rmc, field + 1));
        return static_cast<long>(minutes * 600 + (minutes < 0 ? -1e-6 : 1e-6));
    };
    setCoordinateTenths(true, tenths(3));
    setCoordinateTenths(false, tenths(5));
}

void ManualPresenter::GenerateManualSentences() {
    c.RunA.visible = true;
    c.Timer2.setEnabled(true);
    ManualStream::Tick tick = stream_.tick(platform.clock.utcNow(), options_.sentences, sink_);
    if (!tick.started)
        return;
    c.Gauge1.style = tick.legDistance != 0 ? 3 : 50;
    if (tick.legDistance != 0) {
        int needle = static_cast<int>(tick.legCourse) + 90;
        c.Gauge1.value = needle > 359 ? needle - 360 : needle;
    }
    double metres = tick.legDistance;
    bool metric = form.figures().metric();
    if (metres < 1000) {
        c.DistL.caption = Plain(metric ? metres : Int(metres * 3.281));
        c.Label6.caption = metric ? "m ->" : "ft ->";
    } else {
        c.DistL.caption = Plain(metric ? Int(metres / 1000) : Round(metres / 1609));
        c.Label6.caption = metric ? "km ->" : "mi ->";
    }
}

} // namespace korvel
