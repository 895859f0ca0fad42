#include "fuzz/harnesses.h"

#include "form/main_form.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <filesystem>
#include <memory>
#include <string>

namespace korvel::fuzz {

namespace {

// A started form in a program folder of its own, on virtual time.
struct Rig {
    explicit Rig(const std::string& ini = "") {
        std::filesystem::create_directory(program.file("Tracks"));
        if (!ini.empty())
            program.write("Korvel.ini", ini);
        form = std::make_unique<MainForm>(platform.platform, program.path(),
                                          FindSettings(program.path(), program.file("config")));
        form->Form_Load();
    }

    // Writes the file into "Tracks", clicks it and replays it to its end.
    void replay(const std::string& name, const std::string& content) {
        program.write("Tracks/" + name, content);
        Controls& c = form->c;
        c.Dir1.path.set(program.file("Tracks"));
        c.File1.setPattern(name);
        c.File1.listIndex = 0;
        c.File1.onClick();
        c.Timer1.setEnabled(false);
        for (int step = 0; form->engine().active && step < 100000; ++step)
            form->ReplayStep();
        if (form->engine().active)
            form->StopReplay(StopReason::Stop);
    }

    test::TempFolder program;
    test::VirtualPlatform platform;
    std::unique_ptr<MainForm> form;
};

std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace

void ReplayLog(const std::uint8_t* data, std::size_t size) {
    Rig().replay("fuzz.log", text(data, size));
}

void ReplayTrack(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    static const struct {
        const char *name, *header;
    } formats[] = {
        {"fuzz.plt", "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
                     "Reserved 3\r\n0,2,255,Track,0,0,2,8421376\r\n0\r\n"},
        {"fuzz.kml", "<?xml version=\"1.0\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
                     "<coordinates>\r\n"},
        {"fuzz.kml", "<kml xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><gx:Track>"},
        {"fuzz.gpx", "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n"},
        {"fuzz.trk", "I Korvel V0.1.0\r\n# 07.12.2026 10:00:00  Local Time\r\n"},
        {"fuzz.trk", "H  SOFTWARE NAME & VERSION\r\nI  PCX5 2.09\r\n"},
        {"fuzz.trk", ""},
    };
    const auto& format = formats[data[0] % std::size(formats)];
    Rig().replay(format.name, format.header + text(data + 1, size - 1));
}

void ReceiveGarmin(const std::uint8_t* data, std::size_t size) {
    Rig rig;
    Controls& c = rig.form->c;
    c.Dir1.path.set(rig.program.file("Tracks"));
    c.DownloadC.onClick();
    c.FileT.text.set("fuzz");
    c.LOA.onClick();
    // The bytes arrive in pieces of up to 64, one receive event each; an event that stops at
    // an unknown identifier leaves the rest for the next one.
    auto& incoming = rig.platform.comm2.incoming;
    for (std::size_t at = 0; at < size && rig.form->download().active(); at += 64) {
        incoming.insert(incoming.end(), data + at, data + std::min(size, at + 64));
        rig.platform.comm2.onReceive();
    }
    if (rig.form->download().active())
        rig.platform.clock.advance(2000); // the watchdog ends what the receiver left unfinished
}

void ReadSettings(const std::uint8_t* data, std::size_t size) {
    Rig rig(size == 0 ? "\n" : text(data, size));
    rig.form->ENDE_Click();
}

void CompleteRmc(const std::uint8_t* data, std::size_t size) {
    std::string log = text(data, size);
    // No RMC at all, so that loading always builds the completed copy.
    for (std::size_t at = 0; (at = log.find("RMC", at)) != std::string::npos;)
        log[at + 2] = 'X';
    Rig().replay("fuzz.log", log);
}

} // namespace korvel::fuzz
