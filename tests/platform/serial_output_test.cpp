// A replay through a serial port: a pseudo-terminal pair is the cable, the form opens the
// slave side as COM1 and the test reads what arrives at the master side.
#include "real_form.h"
#include "replay/sentence.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using namespace korvel;
using test::RunUntil;

namespace {

class CablePair {
  public:
    CablePair() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = ptsname(master);
        // The cable carries bytes as they are.
        termios raw{};
        if (master >= 0 && tcgetattr(master, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(master, TCSANOW, &raw);
        }
    }
    ~CablePair() {
        if (master >= 0)
            close(master);
    }
    std::string read() {
        std::string got;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(master, buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<size_t>(n));
        return got;
    }

    int master = -1;
    std::string slave;
};

} // namespace

TEST(SerialOutput, AReplayArrivesByteForByteAtTheOtherEnd) {
    CablePair cable;
    ASSERT_FALSE(cable.slave.empty());
    test::RealForm app("[Devices]\nCOM1=" + cable.slave + "\n");
    app.choose("COM1");
    SelectOption(app.form->c.Pspeed, 1);
    std::string log;
    for (int i = 0; i < 3; ++i)
        log += FrameSentence("GPRMC,12000" + std::to_string(i) +
                             ",A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W") +
               "\r\n" + FrameSentence("GPVTG,084.4,T,077.8,M,022.4,N,041.5,K") + "\r\n";
    app.form->s.replayInterval = 100;
    app.replay("cable.log", log);
    ASSERT_TRUE(app.dialogs.messages.empty()) << app.dialogs.messages[0].text;
    ASSERT_TRUE(app.platform->comm1.isOpen());
    EXPECT_EQ(app.platform->comm1.settings(), "9600,n,8,1");

    std::string got;
    EXPECT_TRUE(RunUntil([&] {
        got += cable.read();
        return app.form->s.replayActive == 0;
    }));
    RunUntil(
        [&] {
            got += cable.read();
            return got.size() >= log.size();
        },
        1000);
    EXPECT_EQ(got, log);
    EXPECT_FALSE(app.platform->comm1.isOpen()) << "the end of the replay closes the port";
}

TEST(SerialOutput, APortThatCannotBeOpenedIsNamedAndTheReplayDoesNotStart) {
    test::RealForm app("[Devices]\nCOM2=/dev/korvel-no-such-port\n");
    app.choose("COM2");
    std::string rmc = FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,") + "\r\n";
    app.replay("any.log", rmc + rmc);
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_NE(app.dialogs.messages[0].text.find("/dev/korvel-no-such-port"), std::string::npos)
        << app.dialogs.messages[0].text;
    EXPECT_EQ(app.form->s.replayActive, 0);
    EXPECT_TRUE(app.form->c.PortC.enabled) << "another port can be chosen";
    EXPECT_TRUE(app.form->c.File1.enabled);
}

TEST(SerialOutput, ADeviceThatDisappearsDuringAReplayIsReportedOnce) {
    auto cable = std::make_unique<CablePair>();
    ASSERT_FALSE(cable->slave.empty());
    test::RealForm app("[Devices]\nCOM1=" + cable->slave + "\n");
    app.choose("COM1");
    std::string log;
    for (int i = 0; i < 40; ++i)
        log += FrameSentence("GPRMC,1200" + std::to_string(10 + i) +
                             ",A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W") +
               "\r\n";
    app.form->s.replayInterval = 50;
    app.replay("gone.log", log);
    ASSERT_TRUE(RunUntil([&] { return cable->read().find("$GPRMC") != std::string::npos; }));
    cable.reset(); // the adapter is pulled out
    EXPECT_TRUE(RunUntil([&] { return !app.dialogs.messages.empty(); }));
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_NE(app.dialogs.messages[0].text.find("has gone"), std::string::npos)
        << app.dialogs.messages[0].text;
    RunUntil([&] { return app.form->s.replayActive == 0; }, 10000);
    EXPECT_EQ(app.dialogs.messages.size(), 1u) << "once per run";
    app.form->StopReplay(1);
    EXPECT_TRUE(app.form->c.PortC.enabled && app.form->c.File1.enabled);
}
