// The record's figures: the time-zone spinner, the time reference, the units, and what a step
// shows of its motion.
#include "form/figures_presenter.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

FiguresPresenter::FiguresPresenter(const FormPart& part) : FormPart(part) {
    c.TZdiff.value.event = [this] { TZdiff_Change(); };
    for (Label* unit : {&c.Label3, &c.Label6, &c.Label9})
        unit->onClick = [this] { UnitLabel_MouseDown(); };
    c.Label2.onClick = [this] { Label2_Click(); };
    c.Label7.onClick = [this] { Label7_Click(); };
    c.MaxL.onClick = [this] { MaxL_Click(); };
    // The label shows the design value of its spinner.
    TZdiff_Change();
}

void FiguresPresenter::takeSettings(int timeReference, bool metric) {
    timeReference_ = timeReference;
    metric_ = metric;
    ApplyUnits();
    if (timeReference_ == 1) {
        c.Label7.backColor = kGreen;
        c.Label2.backColor = kDarkGreen;
    }
}

void FiguresPresenter::TZdiff_Change() {
    int v = c.TZdiff.value.get();
    c.TZL.caption = v < 0 ? Trim(Str(v)) : "+" + Trim(Str(v));
    c.Label7.caption = v == 1 ? "MEZ" : "LOC";
}

void FiguresPresenter::Label2_Click() {
    c.Label2.backColor = kGreen;
    c.Label7.backColor = kDarkGreen;
    timeReference_ = 0;
}

void FiguresPresenter::Label7_Click() {
    c.Label7.backColor = kGreen;
    c.Label2.backColor = kDarkGreen;
    timeReference_ = 1;
}

void FiguresPresenter::UnitLabel_MouseDown() {
    metric_ = !metric_;
    ApplyUnits();
}

void FiguresPresenter::MaxL_Click() {
    s.trip.forgetFastest();
    c.MaxL.caption.clear();
}

void FiguresPresenter::ApplyUnits() {
    s.trip.forgetFastest();
    c.MaxL.caption = c.NNminL.caption = c.NNmaxL.caption = c.DistL.caption = c.TripL.caption = "";
    forgetAltitudeExtremes();
    bool imperial = !metric_;
    c.Label3.caption = imperial ? "MPH" : "km/h";
    c.Label6.caption = imperial ? "mi ->" : "km ->";
    c.Label9.caption = imperial ? "ft NN" : "m NN";
    c.Label16.caption = imperial ? "mi ~" : "km ~";
    double metres = Val(c.AutoM.caption);
    if (metres != 0)
        c.AutoM.toolTip = imperial ? "Auto-Point " + Plain(metres * 3) + " ft" : "Auto-Point";
}

void FiguresPresenter::show(const RecordStep& step) {
    bool imperial = !metric_;
    auto inUnits = [imperial](double kmh) { return Plain(imperial ? Round(kmh * 0.6214) : kmh); };
    if (step.fromStart) {
        double hectometres = Int(*step.fromStart / 100);
        c.DistL.caption = Format(imperial ? hectometres / 16.09 : hectometres / 10, "0.0");
        c.TripL.caption = Format(s.trip.distance() / (imperial ? 1609 : 1000), "0.0");
    }
    if (step.speedShown)
        c.SpeedL.caption = inUnits(s.figures.kmh);
    if (step.fastest)
        c.MaxL.caption = inUnits(s.trip.fastest());
    if (step.course) {
        int needle = ToInt(Int(*step.course + 90));
        c.Gauge1.value = needle > 359 ? needle - 360 : needle;
        c.Gauge1.style = 3;
    }
    if (step.time)
        ShowDateTime(*step.time, step.tripMinutes);
}

void FiguresPresenter::showAltitude(int metres) {
    bool lowest = metres < minAltitude_;
    bool highest = metres > maxAltitude_;
    minAltitude_ = std::min(minAltitude_, metres);
    maxAltitude_ = std::max(maxAltitude_, metres);
    c.NNL.caption = Plain(metric_ ? metres : Int(metres * 3.281));
    if (lowest)
        c.NNminL.caption = c.NNL.caption;
    if (highest)
        c.NNmaxL.caption = c.NNL.caption;
}

void FiguresPresenter::clear() {
    for (Label* label : {&c.WtL, &c.Datum, &c.Zeit, &c.SpeedL, &c.MaxL, &c.DistL, &c.TripL, &c.TTL,
                         &c.NNL, &c.NNminL, &c.NNmaxL})
        label->caption.clear();
    forgetAltitudeExtremes();
}

void FiguresPresenter::tripRestarted() {
    forgetAltitudeExtremes();
    c.TTL.caption.clear();
    c.TripL.caption.clear();
}

} // namespace korvel
