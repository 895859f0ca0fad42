// Every real log of the corpus replays without failing, and what leaves is each recorded
// sentence as recorded, in file order, and the sentences the simulator adds.
#include "replay/sentence.h"
#include "replay/sentence_rewrite.h"
#include "replay/sentence_type.h"
#include "support/corpus.h"
#include "support/replay_fixture.h"
#include "text/line_reader.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

bool validChecksum(const std::string& sentence) {
    return sentence.starts_with("$") && FrameSentence(BodyOf(sentence)) == sentence;
}

// Every sentence sent is one of the log's, in the log's order (after the first, each lies within
// a few hundred lines of the one before), or one the simulator adds: a VTG built from the RMC or
// the datum, with its checksum. $PHSMI goes out again before every record after it.
void expectAsRecorded(const std::vector<std::string>& lines, const std::vector<std::string>& sent) {
    size_t at = 0, reach = lines.size(); // the first record may come late
    for (size_t i = 0; i < sent.size(); ++i) {
        const std::string& sentence = sent[i];
        size_t found = at;
        while (found < reach && !lines[found].ends_with(sentence))
            ++found;
        if (found < reach) {
            reach = std::min(lines.size(), found + 300);
            at = found;
            continue;
        }
        bool added = sentence.starts_with("$GPVTG,") || sentence.starts_with("$PGRMM,");
        ASSERT_TRUE((added && validChecksum(sentence)) || sentence.starts_with("$PHSMI"))
            << "sentence " << i << ": " << sentence;
    }
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
        expectAsRecorded(lines, sentLines());
    }
    EXPECT_GT(replayed, 40) << "most real logs hold RMC sentences";
}
