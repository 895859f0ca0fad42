// The time-zone spinner.
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

} // namespace korvel
