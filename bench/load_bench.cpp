// Loading a large NMEA log: the time the loader spends beyond reading the file. Writes a log of
// about 100 MB, reads it once to warm the cache and to time plain reading, then loads it as a
// click in the file list does, with the program's own services. Fails when the loader's own
// work exceeds the budget.
#include "app/main_form.h"
#include "app/profile_file.h"
#include "cli/console_dialogs.h"
#include "platform/qt/machine.h"
#include "replay/sentence.h"
#include "text/line_reader.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

using namespace korvel;
using Steady = std::chrono::steady_clock;

namespace {

constexpr double kBudgetMs = 1000;

double msSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

void writeLog(const std::string& path, std::size_t bytes) {
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    for (long i = 0; written < bytes; ++i) {
        char time[16];
        std::snprintf(time, sizeof time, "%02ld%02ld%02ld.00", i / 3600 % 24, i / 60 % 60, i % 60);
        std::string record =
            FrameSentence(std::string("GPRMC,") + time +
                          ",A,4807.0381,N,01131.0002,E,022.4,084.4,230394,,,A") +
            "\r\n" +
            FrameSentence(std::string("GPGGA,") + time +
                          ",4807.0381,N,01131.0002,E,1,08,0.9,545.4,M,46.9,M,,") +
            "\r\n" + FrameSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\r\n" +
            FrameSentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45") +
            "\r\n" + FrameSentence("GPVTG,084.4,T,077.8,M,022.4,N,041.5,K") + "\r\n";
        out << record;
        written += record.size();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvel-load-bench";
    std::filesystem::create_directories(folder / "Tracks");
    std::string log = (folder / "Tracks" / "big.log").string();
    writeLog(log, 100u << 20);

    auto start = Steady::now();
    long lines = 0;
    LineReader reader;
    reader.open(log);
    while (!reader.eof()) {
        reader.readLine();
        ++lines;
    }
    double readMs = msSince(start);

    SettingsLocation settings = FindSettings(folder.string(), (folder / "config").string());
    Machine machine(DeviceNames::fromProfile(ProfileFile::load(settings.readPath)));
    ConsoleDialogs dialogs;
    ConsoleHost host;
    Platform platform = machine.platform(dialogs, host);
    MainForm form(platform, folder.string(), settings);
    form.Form_Load();
    form.c.PortC.listIndex.set(20); // LPT1: no port is opened for the load
    form.c.File1.listIndex = 0;
    start = Steady::now();
    form.File1_Click();
    double loadMs = msSince(start);

    std::filesystem::remove_all(folder);
    double workMs = loadMs - readMs;
    std::cout << "log: " << (100u << 20) / 1000000 << " MB, " << lines << " lines, "
              << form.s.recordCount << " records\n"
              << "reading the file: " << readMs << " ms\n"
              << "loading it: " << loadMs << " ms (" << workMs << " ms beyond reading; budget "
              << kBudgetMs << " ms)\n";
    if (form.s.replayActive != 1) {
        std::cout << "FAILED: the log did not load\n";
        return 1;
    }
    return workMs <= kBudgetMs ? 0 : 1;
}
