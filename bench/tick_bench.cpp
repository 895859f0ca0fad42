// korvel_bench_tick FILE RECORDS [--headless] [--keep]: loads FILE as a click in the file list
// does and replays RECORDS records on virtual time, the sentences going to a serial port double
// that counts their bytes, or with --keep one that keeps them (the copies of its growing store
// then count as the record's); with --headless the headless program's replay loads and plays
// them, showing nothing. Run under callgrind with two record counts, the difference divided
// by the difference of the counts is the cost of one replayed record in instructions, without
// the load's share.
#include "cli/headless_replay.h"
#include "cli/run_choices.h"
#include "form/main_form.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

using namespace korvel;

namespace {

class CountingSerialPort : public test::FakeSerialPort {
  public:
    bool output(const std::string& bytes) override {
        sent += bytes.size();
        if (keep)
            written += bytes;
        return true;
    }
    size_t sent = 0;
    bool keep = false;
};

} // namespace

int main(int argc, char* argv[]) {
    bool headless = false, keep = false, understood = argc >= 3;
    for (int i = 3; i < argc; ++i) {
        std::string option = argv[i];
        headless = headless || option == "--headless";
        keep = keep || option == "--keep";
        understood = understood && (option == "--headless" || option == "--keep");
    }
    if (!understood) {
        std::cerr << "usage: korvel_bench_tick FILE RECORDS [--headless] [--keep]\n";
        return 2;
    }
    std::filesystem::path file = std::filesystem::absolute(argv[1]);
    long records = std::atol(argv[2]);
    test::TempFolder program;
    test::VirtualPlatform platform;
    CountingSerialPort serial;
    serial.keep = keep;
    test::VirtualPlatform& p = platform;
    Platform counted{serial,  p.comm2,   p.winsock, p.portIO, p.printers,
                     p.clock, p.dialogs, p.host,    p.pty,    p.udp};
    // The window sends to COM1, the serial double, as the settings say.
    program.write("Korvel.ini", "[Port]\nCOM=0\n");
    MainForm form(counted, program.path(), FindSettings(program.path(), program.file("config")));
    form.Form_Load();
    // A headless run at full speed steps from record to record itself; the window's records
    // come from Timer1's ticks and the steps they bring.
    ReplayParts parts;
    parts.engine.options.sentences = SentencesNamed("RMC,GGA,VTG"); // the command line's own
    Outputs outputs(counted);
    OutputSink sink(outputs);
    HeadlessReplay replay(parts.engine, outputs, sink);
    ReplayEngine& engine = headless ? parts.engine : form.engine();
    if (headless) {
        replay.start(file.string(), "COM1", platform.clock.now());
    } else {
        form.c.Dir1.path.set(file.parent_path().string());
        form.c.File1.setPattern(file.filename().string());
        form.c.File1.listIndex = 0;
        form.File1_Click();
    }
    while (engine.active && engine.index < records) {
        if (headless)
            replay.step();
        else
            platform.clock.fireNext();
    }
    std::cout << engine.index << " records, " << serial.sent << " bytes sent\n";
    return engine.index >= records && serial.sent > 0 ? 0 : 1;
}
