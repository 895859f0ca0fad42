#include "output/sentence_faults.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace korvel;

namespace {

// Is in a subsequence of out: out is in with bytes put between.
bool within(const std::string& in, const std::string& out) {
    size_t at = 0;
    for (char c : out)
        if (at < in.size() && c == in[at])
            ++at;
    return at == in.size();
}

} // namespace

// Each kind of fault at a fixed seed over a thousand sentences: what comes out differs from
// what went in only as the kind says, in about the fraction asked for, and the same seed gives
// the same stream again.
TEST(SentenceFaults, EachKindChangesOnlyWhatItSays) {
    std::vector<std::string> in;
    for (int i = 0; i < 1000; ++i)
        in.push_back(FrameSentence("GPRMC,12" + std::to_string(1000 + i) +
                                   ",A,3354.0000,S,07042.0000,W,010.0,084.4,091226,,"));
    struct Kind {
        const char* name;
        FaultRates rates;
        // Whether out is in with this kind's fault; out is none for a sentence not sent.
        std::function<bool(const std::string& in, const std::optional<std::string>& out)> faulty;
    } kinds[] = {
        {"drop", {.drop = 0.3}, [](auto&, auto& out) { return !out; }},
        {"corrupt",
         {.corrupt = 0.3},
         [](auto& in, auto& out) {
             return out && out->size() == in.size() && *out != in &&
                    out->substr(0, in.size() - 2) == in.substr(0, in.size() - 2) &&
                    CheckChecksum(*out) == Checksum::Wrong;
         }},
        {"cut",
         {.cut = 0.3},
         [](auto& in, auto& out) {
             return out && !out->empty() && out->size() < in.size() && in.starts_with(*out);
         }},
        {"garble",
         {.garble = 0.3},
         [](auto& in, auto& out) {
             bool printable = out && std::all_of(out->begin(), out->end(),
                                                 [](char c) { return c >= ' ' && c <= '~'; });
             return printable && out->size() > in.size() && out->size() <= in.size() + 3 &&
                    (*out)[0] == '$' && within(in, *out);
         }},
    };
    for (const Kind& kind : kinds) {
        auto run = [&](std::uint64_t seed) {
            SentenceFaults faults(kind.rates, seed);
            std::vector<std::optional<std::string>> out;
            for (std::string sentence : in)
                out.push_back(faults.apply(sentence) ? std::optional(sentence) : std::nullopt);
            return std::pair(out, faults.summary());
        };
        auto [out, summary] = run(42);
        int faulty = 0;
        for (size_t i = 0; i < in.size(); ++i) {
            if (kind.faulty(in[i], out[i]))
                ++faulty;
            else
                EXPECT_EQ(out[i], in[i]) << kind.name << ": sentence " << i;
        }
        EXPECT_NEAR(faulty, 300, 50) << kind.name;
        EXPECT_NE(summary.find(std::to_string(faulty) + " " + kind.name), std::string::npos)
            << kind.name << ": " << summary;
        EXPECT_EQ(run(42).first, out) << kind.name << ": the same seed, the same faults";
        EXPECT_NE(run(43).first, out) << kind.name << ": another seed, other sentences";
    }
}

// A sentence recorded without a checksum is corrupted with a wrong one, its body kept.
TEST(SentenceFaults, ASentenceWithoutChecksumGetsAWrongOne) {
    SentenceFaults faults({.corrupt = 1}, 1);
    std::string sentence = "!AIVDM,1,1,,A,13aI8e?P00PGpU:N,0";
    ASSERT_TRUE(faults.apply(sentence));
    EXPECT_TRUE(sentence.starts_with("!AIVDM,1,1,,A,13aI8e?P00PGpU:N,0*")) << sentence;
    EXPECT_EQ(CheckChecksum(sentence), Checksum::Wrong) << sentence;
}

// The faults of the fix over a stream of records a second apart, against the streams worked out
// here: the fix lost over its stretch and back, a hung receiver repeating the record before its
// stretch, and positions scattered by the spread asked for, each record's sentences alike.
TEST(SentenceFaults, TheFixLostFrozenAndScattered) {
    auto record = [](int second, const std::string& lat) {
        std::string t = "1200" + std::string(second < 10 ? "0" : "") + std::to_string(second);
        return std::vector<std::string>{
            FrameSentence("GNRMC," + t + ".00,A," + lat + ",S,07042.0000,W,010.0,084.4,091226,,,A"),
            FrameSentence("GNGGA," + t + ".00," + lat +
                          ",S,07042.0000,W,1,12,0.8,520.0,M,31.0,M,,"),
            FrameSentence("GNVTG,084.4,T,,M,010.0,N,018.5,K,A"),
            FrameSentence("GNGSA,A,3,02,05,09,12,,,,,,,,,1.6,0.8,1.3"),
        };
    };
    std::vector<std::string> in;
    for (int s = 0; s < 600; ++s) {
        std::vector<std::string> r = record(s % 60, "33" + std::to_string(10 + s / 60) + ".1234");
        in.insert(in.end(), r.begin(), r.end());
    }
    auto run = [&](FixFaultPlan plan, std::uint64_t seed) {
        SentenceFaults faults({.fix = plan}, seed);
        std::vector<std::string> out = in;
        for (std::string& sentence : out)
            EXPECT_TRUE(faults.apply(sentence));
        return std::pair(out, faults.summary());
    };

    auto [lost, lostSaid] = run({.outages = {{2, 2}, {61, 1}}}, 1);
    std::vector<std::string> expected = in;
    for (int s : {2, 3, 61}) {
        std::string t = "1200" + std::string(s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
        std::vector<std::string> noFix = {
            FrameSentence("GNRMC," + t + ".00,V,,,,,,,091226,,,N"),
            FrameSentence("GNGGA," + t + ".00,,,,,0,00,,,M,,M,,"),
            FrameSentence("GNVTG,,T,,M,,N,,K,N"),
            FrameSentence("GNGSA,A,1,,,,,,,,,,,,,,,"),
        };
        std::copy(noFix.begin(), noFix.end(), expected.begin() + s * 4);
    }
    EXPECT_EQ(lost, expected);
    EXPECT_EQ(lostSaid, "0 dropped, 0 corrupted, 0 cut, 0 garbled, 12 without a fix");

    auto [frozen, frozenSaid] = run({.freezes = {{58, 3.5}}}, 1);
    expected = in;
    for (int s = 58; s < 62; ++s)
        std::copy(in.begin() + 57 * 4, in.begin() + 58 * 4, expected.begin() + s * 4);
    EXPECT_EQ(frozen, expected) << "over midnight of the minute, the record before repeated";
    EXPECT_NE(frozenSaid.find(", 16 repeated"), std::string::npos) << frozenSaid;

    // Scattered north and east by 10 m each way: the distance from where the record was is
    // Rayleigh-distributed, its mean 10 m times the root of pi / 2.
    auto [scattered, scatteredSaid] = run({.jitterMetres = 10}, 5);
    double sum = 0;
    for (size_t r = 0; r < in.size(); r += 4) {
        auto minutes = [](const std::string& s, int field) {
            return SignedMinutesOfArc(ExtractField(s, field), ExtractField(s, field + 1));
        };
        double north = (minutes(scattered[r], 3) - minutes(in[r], 3)) * 1853.25;
        double east = (minutes(scattered[r], 5) - minutes(in[r], 5)) * 1853.25 *
                      std::cos(minutes(in[r], 3) / 60 * 3.14159265 / 180);
        sum += std::hypot(north, east);
        EXPECT_EQ(ExtractField(scattered[r + 1], 2), ExtractField(scattered[r], 3));
        EXPECT_EQ(ExtractField(scattered[r + 1], 4), ExtractField(scattered[r], 5));
        EXPECT_EQ(CheckChecksum(scattered[r]), Checksum::Right);
        EXPECT_EQ(scattered[r + 2], in[r + 2]) << "a VTG has no position";
    }
    EXPECT_NEAR(sum / 600, 10 * std::sqrt(3.14159265 / 2), 1.0);
    EXPECT_NE(scatteredSaid.find(", 1200 moved"), std::string::npos) << scatteredSaid;
    EXPECT_EQ(run({.jitterMetres = 10}, 5).first, scattered);
    EXPECT_NE(run({.jitterMetres = 10}, 6).first, scattered);
}
