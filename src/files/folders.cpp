// The drive and folder lists of the file browser.
#include "app/main_form.h"

namespace korvel {

void MainForm::Drive1_Change() {
    c.Dir1.path.set(c.Drive1.drive.get());
}

void MainForm::Dir1_Change() {
    c.Dir1.refresh();
    c.File1.setPath(c.Dir1.path.get());
    c.DirSel.toolTip = "Data-Path (" + c.Dir1.path.get() + ")";
}

} // namespace korvel
