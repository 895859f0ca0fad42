// A replay through a serial port: a pseudo-terminal pair is the cable, the form opens the
// slave side as COM1 and the test reads what arrives at the master side.
#include "real_form.h"
#include "support/replay_fixture.h"
#include "support/terminal.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace korvel;
using test::CablePair;
using test::RunUntil;

TEST(SerialOutput, AReplayArrivesByteForByteUntilTheCableIsPulled) {
    auto cable = std::make_unique<CablePair>();
    ASSERT_FALSE(cable->slave.empty());
    test::RealForm app("[Devices]\nCOM1=" + cable->slave + "\n");
    app.choose("COM1");
    SelectOption(app.form->c.Pspeed, 1);
    app.form->c.Data[2].value.set(0);
    std::string three, log;
    for (int i = 0; i < 40; ++i)
        (i < 3 ? three : log) += test::Rmc(i) + "\r\n";
    app.form->engine().options.intervalMs = 50;
    app.replay("cable.log", three);
    ASSERT_TRUE(app.dialogs.messages.empty()) << app.dialogs.messages[0].text;
    EXPECT_EQ(app.platform->comm1.settings(), "9600,n,8,1");
    std::string got;
    EXPECT_TRUE(RunUntil([&] {
        got += cable->read();
        return !app.form->engine().active;
    }));
    RunUntil([&] { return (got += cable->read()).size() >= three.size(); }, 1000);
    EXPECT_EQ(got, three);
    EXPECT_FALSE(app.platform->comm1.isOpen()) << "the end of the replay closes the port";

    app.replay("gone.log", log);
    ASSERT_TRUE(RunUntil([&] { return cable->read().find("$GPRMC") != std::string::npos; }));
    cable.reset(); // the adapter is pulled out
    EXPECT_TRUE(RunUntil([&] { return !app.dialogs.messages.empty(); }));
    EXPECT_NE(app.dialogs.messages.at(0).text.find("has gone"), std::string::npos);
    RunUntil([&] { return !app.form->engine().active; }, 10000);
    EXPECT_EQ(app.dialogs.messages.size(), 1u) << "once per run";
    app.form->StopReplay(StopReason::Stop);
    EXPECT_TRUE(app.form->c.PortC.enabled && app.form->c.File1.enabled);
}

// A device that takes nothing (a line held, nobody at the other end) is not given ever more:
// what waits for it stays within seconds of sentences, and what it gets when it takes bytes
// again is whole sentences.
TEST(SerialOutput, ADeviceThatTakesNothingIsGivenSecondsOfSentencesAtMost) {
    CablePair cable;
    ASSERT_FALSE(cable.slave.empty());
    test::RealForm app("[Devices]\nCOM1=" + cable.slave + "\n");
    app.choose("COM1");
    std::string error;
    ASSERT_TRUE(app.platform->comm1.open(error)) << error;
    size_t sent = 0;
    for (int i = 0; i < 6000; ++i) {
        std::string sentence = test::Rmc(i % 60);
        app.form->ports().SendSentence(sentence);
        sent += sentence.size();
        if (i % 100 == 0)
            QCoreApplication::processEvents(); // the port writes what the device takes
    }
    std::string got;
    RunUntil(
        [&] {
            got += cable.read();
            return false; // all that comes within two seconds
        },
        2000);
    EXPECT_GT(sent, 300000u);
    EXPECT_LT(got.size(), 100000u) << "of " << sent << " bytes sent";
    EXPECT_TRUE(got.ends_with("\r\n"));
    for (size_t from = 0, end; (end = got.find("\r\n", from)) != std::string::npos; from = end + 2)
        ASSERT_EQ(got.substr(from, 6), "$GPRMC") << "whole sentences";
    app.platform->comm1.close();
}
