#include "replay/receiver_sentences.h"
#include "replay/sentence.h"
#include "text/conversions.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

std::vector<std::string> fieldsOf(const std::string& sentence) {
    return SplitFields(sentence.substr(1, sentence.find('*') - 1));
}

} // namespace

// The sentences of today's receivers for one fix, a row a talker and version: each framed
// right, with the talker asked for (GSV of a combined fix is GPS's own), the twelve satellites
// GGA says it uses, dilutions that agree with its horizontal one, and the fields each version
// adds.
TEST(ReceiverSentences, TalkersAndVersions) {
    struct Row {
        std::string talker;
        int version;
        std::string skyTalker, gnsMode, systemId;
        int firstPrn;
    } rows[] = {
        {"GP", 0, "GP", "A", "", 2},      {"GN", 23, "GP", "AA", "", 2},
        {"GL", 41, "GL", "NA", "2", 66},  {"GA", 41, "GA", "NNA", "3", 2},
        {"BD", 41, "BD", "NNNA", "4", 2},
    };
    SentenceSet all;
    for (Sentence kind :
         {Sentence::Gsa, Sentence::Gsv, Sentence::Gll, Sentence::Zda, Sentence::Gns})
        all.set(kind, true);
    FixFields fix{"235959.50", "311299", "3354.0121", "S", "07042.5000", "W", "-12.5", "", "1.5"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.talker + " " + std::to_string(row.version));
        std::vector<std::string> out;
        BuildReceiverSentences(fix, all, {row.talker, row.version, true}, out);
        ASSERT_EQ(out.size(), 7u) << "GSA, three GSV, GLL, ZDA, GNS";
        for (const std::string& sentence : out)
            EXPECT_EQ(CheckChecksum(sentence), Checksum::Right) << sentence;

        std::vector<std::string> gsa = fieldsOf(out[0]);
        EXPECT_EQ(gsa[0], row.talker + "GSA");
        EXPECT_EQ(gsa[2], "3") << "a 3D fix";
        EXPECT_EQ(Val(gsa[3]), row.firstPrn);
        EXPECT_EQ(gsa[16], "1.5");
        double pdop = Val(gsa[15]), vdop = Val(gsa[17]);
        EXPECT_NEAR(pdop * pdop, 1.5 * 1.5 + vdop * vdop, 0.4);
        EXPECT_EQ(gsa.size(), row.systemId.empty() ? 18u : 19u);
        if (!row.systemId.empty()) {
            EXPECT_EQ(gsa[18], row.systemId);
        }

        int listed = 0;
        for (int n = 1; n <= 3; ++n) {
            std::vector<std::string> gsv = fieldsOf(out[static_cast<size_t>(n)]);
            EXPECT_EQ(gsv[0], row.skyTalker + "GSV");
            EXPECT_EQ(gsv[1] + gsv[2] + gsv[3], "3" + std::to_string(n) + "12");
            listed += static_cast<int>(gsv.size() - 4) / 4;
        }
        EXPECT_EQ(listed, 12) << "the satellites in view are those GGA says it uses";

        std::string mode = row.version >= 23 ? ",A" : "";
        EXPECT_EQ(out[4],
                  FrameSentence(row.talker + "GLL,3354.0121,S,07042.5000,W,235959.50,A" + mode));
        EXPECT_EQ(out[5], FrameSentence(row.talker + "ZDA,235959.50,31,12,1999,00,00"));
        EXPECT_EQ(out[6], FrameSentence(row.talker + "GNS,235959.50,3354.0121,S,07042.5000,W," +
                                        row.gnsMode + ",12,1.5,-12.5,,," +
                                        (row.version >= 41 ? ",V" : "")));
        EXPECT_EQ(RmcModeFields(row.version), row.version >= 41   ? ",A,V"
                                              : row.version >= 23 ? ",A"
                                                                  : "");
        EXPECT_EQ(ModeField(row.version), mode);
    }
    // A point without a valid date: ZDA says none; only what is asked for is built.
    std::vector<std::string> out;
    SentenceSet zda;
    zda.set(Sentence::Zda, true);
    fix.ddmmyy = "";
    BuildReceiverSentences(fix, zda, {}, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], FrameSentence("GPZDA,235959.50,,,,00,00"));
}
