// The filter buttons, the typed filter and the switch between the message list and the
// folder view.
#include "app/profile_file.h"
#include "files/typed_filter.h"
#include "form/main_form.h"

namespace korvel {

void MainForm::setFilePattern(const std::string& patterns) {
    s.fileNamePattern = patterns;
    c.File1.setPattern(patterns);
    c.FileT.text.set(patterns);
    c.focus = "ENDE";
}

void MainForm::FileT_Change() {
    c.File1.setPattern(TypedPattern(c.FileT.text.get(), s.fileNamePattern));
}

void MainForm::LOA_Click() {
    if (download_.active()) {
        download_.StartDownload();
        return;
    }
    ProfileFile profile = ProfileFile::load(settings_.readPath);
    setFilePattern(profile.readString("Files", "Names", kDefaultFilePattern));
}

void MainForm::DirSel_Click() {
    bool showFolders = c.List1.visible;
    c.List1.visible = !showFolders;
    c.Drive1.visible = c.Dir1.visible = showFolders;
}

} // namespace korvel
