#include "support/replay_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

namespace {
class FileBrowser : public test::ReplayFixture {};
} // namespace

TEST_F(FileBrowser, FilterButtonsTypedFilterAndFolderView) {
    for (const char* name : {"tour.log", "tour.NMA", "ride.nmea", "track.kml", "home.trk",
                             "2010-05.plt", "2010-06.GPX", "notes.txt"})
        program.write(std::string("Tracks/") + name, "");
    c.Dir1.path.set(program.file("Tracks"));
    c.NMEA.onClick();
    EXPECT_EQ(c.FileT.text.get(), "*.log;*.nma;*.nmea;*.txt");
    EXPECT_EQ(c.File1.pattern(), "*.log;*.nma;*.nmea;*.txt*")
        << "the typed-filter rule applies at once";
    EXPECT_EQ(c.File1.items,
              (std::vector<std::string>{"notes.txt", "ride.nmea", "tour.NMA", "tour.log"}));
    c.ALL.onClick();
    EXPECT_EQ(c.File1.items.size(), 8u) << "*.KML finds track.kml";
    c.TRACK.onClick();
    EXPECT_EQ(c.File1.items.size(), 4u) << "the tracks of every format";
    c.FileT.text.set("2010");
    EXPECT_EQ(c.File1.items, (std::vector<std::string>{"2010-05.plt", "2010-06.GPX"}));
    EXPECT_EQ(c.focus, "ENDE");

    program.write("Korvel.ini", "[Files]\nNames=*.txt\n");
    c.LOA.onClick();
    EXPECT_EQ(c.File1.items, (std::vector<std::string>{"notes.txt"}));

    EXPECT_TRUE(c.List1.visible);
    c.DirSel.onClick();
    EXPECT_FALSE(c.List1.visible);
    EXPECT_TRUE(c.Dir1.visible && c.Drive1.visible);
    c.DirSel.onClick();
    EXPECT_TRUE(c.List1.visible);
}

// A file named on the command line is chosen as a click would choose it, whatever the filter
// and whatever its name holds that a filter cannot say.
TEST_F(FileBrowser, AFileNamedIsChosenAsAClickWould) {
    std::filesystem::create_directories(program.file("elsewhere"));
    program.write("elsewhere/other.log", "");
    for (const char* name : {"tour.txt", "a;b.txt", " lead.txt", "w*ld?.log"}) {
        SCOPED_TRACE(name);
        std::string log = program.write(std::string("elsewhere/") + name,
                                        test::Log({test::Rmc(1), test::Rmc(2)}));
        form.files().ChooseFile(log);
        EXPECT_EQ(c.File1.path(), program.file("elsewhere"));
        EXPECT_EQ(c.File1.fileName(), name);
        EXPECT_TRUE(engine.active);
        EXPECT_EQ(engine.path, log);
        form.StopReplay(StopReason::Stop);
    }
}
