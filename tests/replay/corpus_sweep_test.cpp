// Every real log of the corpus replays without failing, and what leaves is what the sentence
// rules say: each recorded sentence as recorded, in file order, plus the sentences the
// simulator adds.
#include "replay/sentence_type.h"
#include "support/corpus.h"
#include "support/replay_fixture.h"
#include "text/line_reader.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

const char* const kBuiltVtg = "(a VTG built from the RMC)";

// What a replay with every sentence box checked sends, by the rules of the sentence table.
std::vector<std::string> expectedStream(const std::vector<std::string>& lines) {
    size_t firstSentence = 0;
    while (firstSentence < lines.size() && lines[firstSentence].rfind('$', 0) != 0)
        ++firstSentence;
    bool hasRmc = false, hasVtg = false;
    for (size_t i = firstSentence; i < lines.size(); ++i) {
        hasRmc = hasRmc || ContainsSentence(lines[i], "RMC");
        hasVtg = hasVtg || ContainsSentence(lines[i], "VTG");
    }
    std::vector<std::string> out;
    if (firstSentence == lines.size() || !hasRmc)
        return out;
    size_t i = 0;
    while (i < lines.size() && !IsSentence(lines[i], "RMC"))
        ++i;
    if (i == lines.size())
        return out;
    std::string phsmi;
    bool datumSeen = false;
    while (i < lines.size()) {
        if (!phsmi.empty())
            out.push_back(phsmi);
        // Bytes before a sentence on its line are no part of it.
        const std::string& record = lines[i++];
        out.push_back(record.substr(SentencesOfLine(record).rmc));
        // A sentence cut short lacks the checksum its record's RMC carries: it neither starts a
        // record nor is sent.
        bool checksummed = record.find('*') != std::string::npos;
        auto cut = [&](const std::string& sentence) {
            return checksummed && sentence.find('*') == std::string::npos;
        };
        auto startsRecord = [&](const std::string& line) {
            size_t rmc = SentencesOfLine(line).rmc;
            return rmc != std::string::npos && !cut(line.substr(rmc));
        };
        bool send = false;
        for (; i < lines.size() && !startsRecord(lines[i]); ++i) {
            size_t first = SentencesOfLine(lines[i]).first;
            std::string line = lines[i].substr(std::min(first, lines[i].size()));
            if (first != std::string::npos && cut(line)) {
                send = false;
            } else if (IsSentence(line, "TXT")) {
                // sent as the line before it was
            } else if (line.rfind("$PHSMI", 0) == 0) {
                phsmi = line;
                send = false;
            } else {
                send = IsSentence(line, "");
                datumSeen = datumSeen || line.rfind("$PGRMM", 0) == 0;
            }
            if (send)
                out.push_back(line);
        }
        if (i == lines.size())
            break; // the end of the file ends the replay before the record boundary
        if (!hasVtg)
            out.push_back(kBuiltVtg);
        if (!datumSeen)
            out.push_back("$PGRMM,WGS 84*06");
    }
    return out;
}

bool validChecksum(const std::string& sentence) {
    size_t star = sentence.rfind('*');
    if (sentence.empty() || sentence[0] != '$' || star == std::string::npos)
        return false;
    unsigned x = 0;
    for (size_t i = 1; i < star; ++i)
        x ^= static_cast<unsigned char>(sentence[i]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", x);
    return sentence.substr(star + 1) == hex;
}

class CorpusSweep : public test::ReplayFixture {};

} // namespace

TEST_F(CorpusSweep, EveryRealLogReplaysAsRecorded) {
    std::vector<fs::path> logs;
    for (const char* folder : {"nmea", "other"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(test::CorpusFolder() + "/" + folder, ec))
            logs.push_back(entry.path());
    }
    if (logs.empty())
        GTEST_SKIP() << "no corpus at " << test::CorpusFolder() << " (set KORVEL_CORPUS)";
    checkAll(true);
    engine.options.intervalMs = 100;
    int replayed = 0;
    for (const fs::path& log : logs) {
        SCOPED_TRACE(log.filename().string());
        platform.comm1.written.clear();
        click(log.string());
        replayed += engine.active;
        // A log without RMC replays through the completed copy the loader made.
        std::string replayedFile = engine.active ? engine.path : log.string();
        std::vector<std::string> lines = test::ReadLines(replayedFile);
        runToEnd();
        ASSERT_FALSE(engine.active) << "the replay did not end";
        if (engine.kind == FileKind::Track)
            continue; // a track file among the captures: the track sweep checks those
        std::vector<std::string> sent = sentLines();
        std::vector<std::string> expected = expectedStream(lines);
        ASSERT_EQ(sent.size(), expected.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            if (expected[i] == kBuiltVtg) {
                EXPECT_EQ(sent[i].rfind("$GPVTG,", 0), 0u) << sent[i];
                EXPECT_TRUE(validChecksum(sent[i])) << sent[i];
            } else {
                ASSERT_EQ(sent[i], expected[i]) << "sentence " << i;
            }
        }
    }
    EXPECT_GT(replayed, 40) << "most real logs hold RMC sentences";
}
