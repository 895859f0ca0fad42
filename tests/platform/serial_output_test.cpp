// The stream through a serial port: a pseudo-terminal pair is the cable, the outputs open its
// slave side as COM1 and the test reads what arrives at the master side.
#include "real_outputs.h"
#include "support/replay_fixture.h"
#include "support/terminal.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace korvel;
using test::CablePair;
using test::RunUntil;

// A serial adapter pulled out during a run is told once, and the end of the run closes its
// port. (The command line's tests check the bytes that arrive through a serial port.)
TEST(SerialOutput, AnAdapterPulledOutIsToldOnce) {
    auto cable = std::make_unique<CablePair>();
    ASSERT_FALSE(cable->slave.empty());
    test::RealOutputs out("COM1=" + cable->slave + "\n", "COM1");
    ASSERT_FALSE(out.outputs.open());
    EXPECT_TRUE(out.outputs.send(test::Rmc(0) + "\r\n"));
    cable.reset(); // the adapter is pulled out
    EXPECT_TRUE(RunUntil([&] {
        out.outputs.send(test::Rmc(3) + "\r\n");
        return out.outputs.anyFailed();
    }));
    for (int i = 0; i < 3; ++i)
        out.outputs.send(test::Rmc(4) + "\r\n");
    std::vector<OutputFailure> said = out.outputs.takeFailures();
    ASSERT_EQ(said.size(), 1u) << "once per run";
    EXPECT_NE(said[0].text.find("has gone"), std::string::npos) << said[0].text;
    out.outputs.close();
    EXPECT_FALSE(out.machine.comm1.isOpen()) << "the end of the run closes the port";
}

// A device that takes nothing (a line held, nobody at the other end) is not given ever more:
// what waits for it stays within seconds of sentences, and what it gets when it takes bytes
// again is whole sentences.
TEST(SerialOutput, ADeviceThatTakesNothingIsGivenSecondsOfSentencesAtMost) {
    CablePair cable;
    ASSERT_FALSE(cable.slave.empty());
    test::RealOutputs out("COM1=" + cable.slave + "\n", "COM1");
    ASSERT_FALSE(out.outputs.open());
    size_t sent = 0;
    for (int i = 0; i < 6000; ++i) {
        std::string sentence = test::Rmc(i % 60) + "\r\n";
        out.outputs.send(sentence);
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
    out.outputs.close();
}
