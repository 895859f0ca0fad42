// The file browser's folders and filters.
#include "form/file_browser_presenter.h"
#include "app/profile_file.h"
#include "files/typed_filter.h"
#include "form/main_form.h"

#include <algorithm>
#include <filesystem>

namespace korvel {

FileBrowserPresenter::FileBrowserPresenter(const FormPart& part, const SettingsLocation& settings)
    : FormPart(part), settings_(settings) {
    c.Drive1.drive.event = [this] { Drive1_Change(); };
    c.Dir1.path.event = [this] { Dir1_Change(); };
    c.FileT.text.event = [this] { FileT_Change(); };
    c.File1.onMouseDown = [this](int button) { File1_MouseDown(button); };
    c.List1.onMouseDown = [this](int button) {
        if (button == kRightButton)
            c.List1.clear();
    };
    c.Timer4.onTimer = [this] { Timer4_Timer(); };
    c.MRen.onClick = [this] { MRen_Click(); };
    c.MDel.onClick = [this] { MDel_Click(); };
    c.Mcan.onClick = [this] { Mcan_Click(); };
    c.LOA.onClick = [this] { LOA_Click(); };
    c.DirSel.onClick = [this] { DirSel_Click(); };
    // Loggers write NMEA logs as .txt too: the logs and everything are shown them.
    c.NMEA.onClick = [this] { setFilePattern("*.log;*.nma;*.nmea;*.txt"); };
    c.ALL.onClick = [this] {
        setFilePattern("*.log;*.nma;*.nmea;*.txt;*.trl;*.trk;*.plt;*.KML;*.gpx");
    };
    c.TRACK.onClick = [this] { setFilePattern("*.trl;*.trk;*.plt;*.kml;*.gpx"); };
}

void FileBrowserPresenter::applyPattern(std::string patterns) {
    pattern_ = std::move(patterns);
    c.File1.setPattern(pattern_);
}

void FileBrowserPresenter::Drive1_Change() {
    c.Dir1.path.set(c.Drive1.drive.get());
}

void FileBrowserPresenter::Dir1_Change() {
    c.Dir1.refresh();
    c.File1.setPath(c.Dir1.path.get());
    c.DirSel.toolTip = "Data-Path (" + c.Dir1.path.get() + ")";
}

void FileBrowserPresenter::ChooseFile(const std::string& path) {
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
    c.File1.onClick();
}

void FileBrowserPresenter::setFilePattern(const std::string& patterns) {
    applyPattern(patterns);
    c.FileT.text.set(patterns);
    c.focus = "ENDE";
}

void FileBrowserPresenter::FileT_Change() {
    // A new name being typed is no filter: the file renamed stays in sight.
    if (renameFolder_.empty())
        c.File1.setPattern(TypedPattern(c.FileT.text.get(), pattern_));
}

void FileBrowserPresenter::LOA_Click() {
    if (form.download().active()) {
        form.download().StartDownload();
        return;
    }
    ProfileFile profile = ProfileFile::load(settings_.readPath);
    setFilePattern(profile.readString("Files", "Names", kDefaultFilePattern));
}

void FileBrowserPresenter::DirSel_Click() {
    bool showFolders = c.List1.visible;
    c.List1.visible = !showFolders;
    c.Drive1.visible = c.Dir1.visible = showFolders;
}

} // namespace korvel
