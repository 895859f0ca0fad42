// korvel_bench_load FILE: the time from the click on FILE in the file list to the replay's
// first tick being due, with the program's own services, in milliseconds. bench/run sets it
// beside the time `wc -l` takes to read the same file.
#include "app/profile_file.h"
#include "cli/console_dialogs.h"
#include "form/main_form.h"
#include "platform/qt/machine.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

using namespace korvel;
using Steady = std::chrono::steady_clock;

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: korvel_bench_load FILE\n";
        return 2;
    }
    std::filesystem::path file = std::filesystem::absolute(argv[1]);
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvel-load-bench";
    std::filesystem::create_directories(folder);
    SettingsLocation settings = FindSettings(folder.string(), (folder / "config").string());
    Machine machine(DeviceNames::fromProfile(ProfileFile::load(settings.readPath)));
    ConsoleDialogs dialogs;
    ConsoleHost host;
    Platform platform = machine.platform(dialogs, host);
    MainForm form(platform, folder.string(), settings);
    form.Form_Load();
    // UDP: an output that opens on any machine, with nothing to wait for.
    const std::vector<std::string>& ports = form.c.PortC.items;
    form.c.PortC.listIndex.set(
        static_cast<int>(std::find(ports.begin(), ports.end(), "UDP") - ports.begin()));
    form.c.Dir1.path.set(file.parent_path().string());
    form.c.File1.setPattern(file.filename().string());
    form.c.File1.listIndex = 0;

    auto start = Steady::now();
    form.File1_Click();
    double ms = std::chrono::duration<double, std::milli>(Steady::now() - start).count();
    std::filesystem::remove_all(folder);
    if (!form.engine().active || !form.c.Timer1.enabled()) {
        std::cerr << "korvel_bench_load: " << file << " did not load\n";
        return 1;
    }
    std::cout << ms << " ms, " << form.engine().count << " records\n";
    return 0;
}
