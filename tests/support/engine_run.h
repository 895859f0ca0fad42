// A replay engine of its own, without a window: a file loaded exactly as named and its records
// played into the list of sentences sent, every kind of sentence chosen.
#pragma once

#include "replay/replay_engine.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::test {

class EngineRun : public testing::Test, public SentenceSink {
  protected:
    EngineRun();

    // Writes a file into the folder and loads it.
    LoadResult load(const std::string& name, const std::string& content);
    // Only these kinds of sentence are sent.
    void only(std::initializer_list<Sentence> kinds);
    // The records up to the end of the file, played.
    void playToEnd();

    void send(std::string_view sentence) override { sent.emplace_back(sentence); }
    void note(std::string_view) override {}

    TempFolder folder;
    LatestSentences latest;
    TripFigures trip;
    RecordFigures figures;
    ReplayEngine engine{latest, trip, figures};
    std::vector<std::string> sent;
};

} // namespace korvel::test
