// The drive and folder lists of the file browser.
#include "form/main_form.h"

#include <algorithm>
#include <filesystem>

namespace korvel {

void MainForm::Drive1_Change() {
    c.Dir1.path.set(c.Drive1.drive.get());
}

void MainForm::Dir1_Change() {
    c.Dir1.refresh();
    c.File1.setPath(c.Dir1.path.get());
    c.DirSel.toolTip = "Data-Path (" + c.Dir1.path.get() + ")";
}

void MainForm::ChooseFile(const std::string& path) {
    std::filesystem::path file = std::filesystem::absolute(path);
    std::string name = file.filename().string();
    c.Dir1.path.set(file.parent_path().string());
    // Its place in the list, -1 when the list does not show it.
    auto listed = [this, &name] {
        auto found = std::find(c.File1.items.begin(), c.File1.items.end(), name);
        return found == c.File1.items.end() ? -1 : static_cast<int>(found - c.File1.items.begin());
    };
    if (listed() < 0)
        c.File1.showOnly(name); // the filter hides it
    c.File1.listIndex = listed();
    File1_Click();
}

} // namespace korvel
