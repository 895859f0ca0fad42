// The time-zone spinner, the time reference and the units.
#include "form/main_form.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::TZdiff_Change() {
    int v = c.TZdiff.value.get();
    c.TZL.caption = v < 0 ? Trim(Str(v)) : "+" + Trim(Str(v));
    c.Label7.caption = v == 1 ? "MEZ" : "LOC";
}

void MainForm::Label2_Click() {
    c.Label2.backColor = kGreen;
    c.Label7.backColor = kDarkGreen;
    s.timeReference = 0;
}

void MainForm::Label7_Click() {
    c.Label7.backColor = kGreen;
    c.Label2.backColor = kDarkGreen;
    s.timeReference = 1;
}

void MainForm::UnitLabel_MouseDown() {
    s.metricUnits ^= 1;
    ApplyUnits();
}

void MainForm::MaxL_Click() {
    s.trip.forgetFastest();
    c.MaxL.caption.clear();
}

void MainForm::ApplyUnits() {
    s.trip.forgetFastest();
    c.MaxL.caption = c.NNminL.caption = c.NNmaxL.caption = c.DistL.caption = c.TripL.caption = "";
    s.minAltitude = 9999;
    s.maxAltitude = 0;
    bool imperial = s.metricUnits == 0;
    c.Label3.caption = imperial ? "MPH" : "km/h";
    c.Label6.caption = imperial ? "mi ->" : "km ->";
    c.Label9.caption = imperial ? "ft NN" : "m NN";
    c.Label16.caption = imperial ? "mi ~" : "km ~";
    double metres = Val(c.AutoM.caption);
    if (metres != 0)
        c.AutoM.toolTip = imperial ? "Auto-Point " + Plain(metres * 3) + " ft" : "Auto-Point";
}

} // namespace korvel
