// A long press on a file opens the file menu: rename it in place, delete it, or cancel.
#include "form/main_form.h"

#include <filesystem>

namespace korvel {

namespace fs = std::filesystem;

void MainForm::File1_MouseDown(int button) {
    if (button == kLeftButton && !download_.active())
        c.Timer4.setEnabled(true);
}

void MainForm::List1_MouseDown(int button) {
    if (button == kRightButton)
        c.List1.clear();
}

void MainForm::Timer4_Timer() {
    c.Timer4.setEnabled(false);
    // With no file chosen the menu would act on the folder itself.
    if (c.File1.fileName().empty())
        return;
    closeAllFiles();
    s.fileMenuPending = 1;
    // The menu acts on the pressed file, whether or not the press ends in a click.
    s.menuFile = c.Dir1.path.get() + "/" + c.File1.fileName();
    c.fileMenuShown = true;
}

void MainForm::MRen_Click() {
    closeAllFiles();
    for (Control* button :
         std::initializer_list<Control*>{&c.LOA, &c.SAVE, &c.NMEA, &c.ALL, &c.TRACK})
        button->visible = false;
    c.DownloadC.enabled = false;
    fs::path file(s.menuFile);
    s.renameFolder = file.parent_path().string() + "/";
    c.FileT.text.reset(file.filename().string());
    c.focus = "FileT";
    Mcan_Click();
}

void MainForm::FileT_KeyDown(int key) {
    constexpr int kEnter = 13;
    if (key == kEnter && download_.active())
        download_.StartDownload();
    if (key != kEnter || s.renameFolder.empty())
        return;
    std::string name = c.FileT.text.get();
    std::string target = s.renameFolder + name;
    std::error_code ec;
    // A rename never replaces another file, and stays in its folder.
    if (name.empty() || name.find('/') != std::string::npos || fs::exists(target, ec)) {
        platform_.dialogs.messageBox(name.empty() || name.find('/') != std::string::npos
                                         ? "\"" + name + "\" is not a file name."
                                         : target + " exists already: choose another name.",
                                     "rename", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    s.renameFolder.clear();
    fs::rename(s.menuFile, target, ec);
    if (ec)
        platform_.dialogs.messageBox(s.menuFile + " cannot be renamed: " + ec.message(), "rename",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
    c.File1.setPattern(s.fileNamePattern);
    c.FileT.text.reset("");
    for (Control* button :
         std::initializer_list<Control*>{&c.LOA, &c.SAVE, &c.NMEA, &c.ALL, &c.TRACK})
        button->visible = true;
    c.DownloadC.enabled = true;
}

void MainForm::MDel_Click() {
    closeAllFiles();
    std::error_code ec;
    if (!fs::remove(s.menuFile, ec) && ec)
        platform_.dialogs.messageBox(s.menuFile + " cannot be deleted: " + ec.message(), "delete",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
    platform_.dialogs.beep();
    c.FileT.text.reset("");
    c.File1.refresh();
    Mcan_Click();
}

void MainForm::Mcan_Click() {
    c.fileMenuShown = false;
    c.DirSel.enabled = true;
    c.Manu.visible = true;
}

void MainForm::Form_DblClick() {
    c.List1.visible = true;
    c.Dir1.visible = c.Drive1.visible = false;
    // Download mode ends, and a download under way is dropped, as Escape drops it.
    if (download_.running()) {
        download_.CancelDownload("Download stopped: no file is written.");
        return;
    }
    if (download_.active()) {
        download_.EndDownloadMode();
        return;
    }
    FillPortList();
    // The refilled list keeps the chosen output port selected.
    c.PortC.listIndex.reset(s.outputPortIndex);
}

} // namespace korvel
