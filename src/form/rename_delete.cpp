// A long press on a file opens the file menu: rename it in place, delete it, or cancel.
#include "form/file_browser_presenter.h"
#include "form/main_form.h"

#include <filesystem>
#include <utility>

namespace korvel {

namespace fs = std::filesystem;

void FileBrowserPresenter::File1_MouseDown(int button) {
    if (button == kLeftButton && !form.download().active())
        c.Timer4.setEnabled(true);
}

bool FileBrowserPresenter::menuOpened() {
    return std::exchange(menuOpened_, false);
}

void FileBrowserPresenter::showFileButtons(bool shown) {
    for (Control* button :
         std::initializer_list<Control*>{&c.LOA, &c.SAVE, &c.NMEA, &c.ALL, &c.TRACK})
        button->visible = shown;
    c.DownloadC.enabled = shown;
}

void FileBrowserPresenter::Timer4_Timer() {
    c.Timer4.setEnabled(false);
    // With no file chosen the menu would act on the folder itself.
    if (c.File1.fileName().empty())
        return;
    form.closeAllFiles();
    menuOpened_ = true;
    // The menu acts on the pressed file, whether or not the press ends in a click.
    menuFile_ = c.Dir1.path.get() + "/" + c.File1.fileName();
    c.fileMenuShown = true;
}

void FileBrowserPresenter::MRen_Click() {
    form.closeAllFiles();
    showFileButtons(false);
    fs::path file(menuFile_);
    renameFolder_ = file.parent_path().string() + "/";
    c.FileT.text.reset(file.filename().string());
    c.focus = "FileT";
    Mcan_Click();
}

void FileBrowserPresenter::FileT_KeyDown(int key) {
    constexpr int kEnter = 13, kEscape = 27;
    if (key == kEnter && form.download().active())
        form.download().StartDownload();
    if ((key != kEnter && key != kEscape) || renameFolder_.empty())
        return;
    std::string name = c.FileT.text.get();
    std::string target = renameFolder_ + name;
    // Escape, or the name the file has, leaves it as it is.
    if (key == kEscape || fs::path(menuFile_).filename() == name) {
        endRename();
        return;
    }
    std::error_code ec;
    // A rename never replaces another file, and stays in its folder.
    if (name.empty() || name.find('/') != std::string::npos || fs::exists(target, ec)) {
        platform.dialogs.messageBox((name.empty() || name.find('/') != std::string::npos
                                         ? "\"" + name + "\" is not a file name."
                                         : target + " exists already: choose another name.") +
                                        " Escape leaves the file as it is.",
                                    "rename", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    fs::rename(menuFile_, target, ec);
    if (ec)
        platform.dialogs.messageBox(menuFile_ + " cannot be renamed: " + ec.message(), "rename",
                                    MessageIcon::Exclamation, MessageButtons::Ok);
    endRename();
}

void FileBrowserPresenter::endRename() {
    renameFolder_.clear();
    c.File1.setPattern(pattern_);
    c.FileT.text.reset("");
    showFileButtons(true);
}

void FileBrowserPresenter::MDel_Click() {
    // A file deleted is gone: asked once more, as a file about to be overwritten is.
    if (platform.dialogs.messageBox("Delete " + fs::path(menuFile_).filename().string() + " ?",
                                    " delete", MessageIcon::Question,
                                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        Mcan_Click();
        return;
    }
    form.closeAllFiles();
    std::error_code ec;
    if (!fs::remove(menuFile_, ec) && ec)
        platform.dialogs.messageBox(menuFile_ + " cannot be deleted: " + ec.message(), "delete",
                                    MessageIcon::Exclamation, MessageButtons::Ok);
    platform.dialogs.beep();
    c.FileT.text.reset("");
    c.File1.refresh();
    Mcan_Click();
}

void FileBrowserPresenter::Mcan_Click() {
    // The menu took the mouse: the click that would end the press never comes, and the next
    // click in the list is one of its own.
    menuOpened_ = false;
    c.fileMenuShown = false;
    c.DirSel.enabled = true;
    c.Manu.visible = true;
}

} // namespace korvel
