// The form on this machine's own services (sockets, serial ports, timers), in a program
// folder of its own with a "Tracks" folder; dialogs and the host are test doubles.
#pragma once

#include "app/profile_file.h"
#include "form/main_form.h"
#include "platform/qt/machine.h"
#include "platform/run_until.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace korvel::test {

class RealForm {
  public:
    // ini: the content of "Korvel.ini", for example a [Devices] section.
    explicit RealForm(const std::string& ini = "") {
        std::filesystem::create_directory(program.file("Tracks"));
        if (!ini.empty())
            program.write("Korvel.ini", ini);
        SettingsLocation settings = FindSettings(program.path(), program.file("config"));
        machine = std::make_unique<Machine>(
            DeviceNames::fromProfile(ProfileFile::load(settings.readPath)));
        platform = std::make_unique<Platform>(machine->platform(dialogs, host));
        form = std::make_unique<MainForm>(*platform, program.path(), settings);
        form->Form_Load();
    }

    void choose(const std::string& entry) {
        auto& items = form->c.PortC.items;
        auto found = std::find(items.begin(), items.end(), entry);
        ASSERT_NE(found, items.end());
        form->c.PortC.listIndex.set(static_cast<int>(found - items.begin()));
    }

    // Writes a log into "Tracks" and clicks it in the file list.
    void replay(const std::string& name, const std::string& content) {
        program.write("Tracks/" + name, content);
        form->c.File1.refresh();
        auto& items = form->c.File1.items;
        form->c.File1.listIndex =
            static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
        form->File1_Click();
    }

    TempFolder program;
    ScriptedDialogs dialogs;
    FakeHost host;
    std::unique_ptr<Machine> machine;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<MainForm> form;
};

} // namespace korvel::test
