#include "output/sentence_faults.h"
#include "replay/sentence.h"

#include <algorithm>
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
        {"drop", {0.3, 0, 0, 0}, [](auto&, auto& out) { return !out; }},
        {"corrupt",
         {0, 0.3, 0, 0},
         [](auto& in, auto& out) {
             return out && out->size() == in.size() && *out != in &&
                    out->substr(0, in.size() - 2) == in.substr(0, in.size() - 2) &&
                    CheckChecksum(*out) == Checksum::Wrong;
         }},
        {"cut",
         {0, 0, 0.3, 0},
         [](auto& in, auto& out) {
             return out && !out->empty() && out->size() < in.size() && in.starts_with(*out);
         }},
        {"garble",
         {0, 0, 0, 0.3},
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
    SentenceFaults faults({0, 1, 0, 0}, 1);
    std::string sentence = "!AIVDM,1,1,,A,13aI8e?P00PGpU:N,0";
    ASSERT_TRUE(faults.apply(sentence));
    EXPECT_TRUE(sentence.starts_with("!AIVDM,1,1,,A,13aI8e?P00PGpU:N,0*")) << sentence;
    EXPECT_EQ(CheckChecksum(sentence), Checksum::Wrong) << sentence;
}
