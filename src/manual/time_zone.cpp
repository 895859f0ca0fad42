// The time-zone spinner.
#include "app/main_form.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::TZdiff_Change() {
    int v = c.TZdiff.value.get();
    c.TZL.caption = v < 0 ? Trim(Str(v)) : "+" + Trim(Str(v));
    c.Label7.caption = v == 1 ? "MEZ" : "LOC";
}

} // namespace korvel
