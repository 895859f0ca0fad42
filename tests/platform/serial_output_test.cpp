// A replay through a serial port: a pseudo-terminal pair is the cable, the form opens the
// slave side as COM1 and the test reads what arrives at the master side.
#include "real_form.h"
#include "replay/sentence.h"
#include "support/terminal.h"

#include <gtest/gtest.h>
#include <memory>

using namespace korvel;
using test::CablePair;
using test::RunUntil;

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
