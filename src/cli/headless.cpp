#include "cli/headless.h"

#include "app/main_form.h"
#include "app/profile_file.h"
#include "cli/console_dialogs.h"
#include "platform/qt/machine.h"

#include <QCoreApplication>
#include <iostream>

namespace korvel {

int RunHeadless(const CommandLine& command, int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    SettingsLocation settings = FindSettings(folder, UserConfigFolder());
    Machine machine(DeviceNames::fromProfile(ProfileFile::load(settings.readPath)));
    ConsoleDialogs dialogs;
    ConsoleHost host;
    Platform platform = machine.platform(dialogs, host);
    MainForm form(platform, folder, settings);
    form.Form_Load();

    const char* name = command.action == CommandLine::Action::Replay   ? "replay"
                       : command.action == CommandLine::Action::Manual ? "manual"
                                                                       : "download";
    std::cerr << "korvel: the " << name << " command is not available in this version yet\n";
    return 1;
}

} // namespace korvel
