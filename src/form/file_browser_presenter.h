// The file browser as the window shows it: the drive and folder lists, the file list with its
// filter buttons and typed filter, the switch between the message list and the folder view, and
// the file menu that a long press on a file opens (rename in place, delete, cancel).
#pragma once

#include "app/settings_location.h"
#include "form/form_part.h"

#include <string>

namespace korvel {

class FileBrowserPresenter : FormPart {
  public:
    // settings: where the filter patterns are read again from.
    FileBrowserPresenter(const FormPart& part, const SettingsLocation& settings);

    // The patterns the user chose, which the file list applies when nothing else is typed.
    const std::string& pattern() const { return pattern_; }
    // The list applies patterns, as the settings name them at the start.
    void applyPattern(std::string patterns);
    // Whether the click that ends a long press comes after the file menu opened: then it loads
    // nothing. Asked once per click.
    bool menuOpened();
    // Chooses the file as a click in the file list would: its folder shown, the file picked
    // (its own name as the filter when the filter hides it) and its replay started.
    void ChooseFile(const std::string& path);
    void FileT_KeyDown(int key);
    void Mcan_Click();

  private:
    void Drive1_Change();
    void Dir1_Change();
    void FileT_Change();
    void File1_MouseDown(int button);
    void Timer4_Timer();
    void MRen_Click();
    void MDel_Click();
    void LOA_Click();
    void DirSel_Click();
    // A filter button: the list, the typed filter and the settings' pattern become patterns.
    void setFilePattern(const std::string& patterns);
    // The buttons that rename hides while it waits for the new name.
    void showFileButtons(bool shown);
    // The list, the filter and the buttons as before the rename, the file renamed or not.
    void endRename();

    const SettingsLocation& settings_;
    std::string pattern_;
    bool menuOpened_ = false;
    std::string renameFolder_; // while a rename waits for its new name
    std::string menuFile_;     // the file the file menu acts on
};

} // namespace korvel
