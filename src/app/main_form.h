// The simulator's one form: the controls, the shared state, and every event handler. The
// handlers live in the source files of their subsystem folders.
#pragma once

#include "app/form_state.h"
#include "app/settings_location.h"
#include "form/controls.h"
#include "platform/platform.h"

#include <functional>
#include <string>

namespace korvel {

class ProfileFile;

class MainForm {
  public:
    // programFolder: the folder of the program, where "Tracks" lies.
    MainForm(Platform& platform, std::string programFolder, SettingsLocation settings);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    Controls c;
    FormState s;

    // Start and exit.
    void Form_Load();
    void ENDE_Click();
    void SAVE_Click();

    // Output ports.
    void FillPortList();
    void PortC_Click();

    // File browser.
    void Drive1_Change();
    void Dir1_Change();

    // Manual position entry and units.
    void VSc1_Change(int index);
    void HSc1_Change(int index);
    void VSc2_Change();
    void VSc3_Change();
    void VSc4_Change();
    void ApplyUnits();

    // Time zone.
    void TZdiff_Change();

  private:
    void wireEvents();
    // Applies change to the settings file and writes it; tells the user when it cannot.
    bool saveSettings(const std::function<void(ProfileFile&)>& change);

    Platform& platform_;
    SettingsLocation settings_;
};

} // namespace korvel
