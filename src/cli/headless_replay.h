// A replay without a window: the engine's records go to the outputs and nothing is shown; at
// the end of the file the run stops, or loops. What the user is told goes to standard error.
#pragma once

#include "output/outputs.h"
#include "replay/replay_engine.h"

#include <functional>
#include <string>

namespace korvel {

class HeadlessReplay {
  public:
    HeadlessReplay(ReplayEngine& engine, Outputs& outputs) : engine_(engine), outputs_(outputs) {}
    HeadlessReplay(const HeadlessReplay&) = delete;
    HeadlessReplay& operator=(const HeadlessReplay&) = delete;

    // Given every sentence before it leaves, without its CR LF, to change it (--now).
    std::function<void(std::string&)> beforeSend;

    // Loads the file at path, exactly as named, and opens the outputs of the port-list entry
    // port (and those the outputs' settings add); false (the user told why) when the replay
    // cannot start.
    bool start(const std::string& path, const std::string& port, const LocalDateTime& today);
    // The next record, sent; the destinations that failed in it told. At the end of the file
    // the run loops back (looped then says so) or stops.
    struct Step {
        bool counted = false; // a record was sent
        bool looped = false;  // the file starts again
    };
    Step step();
    // The run ends: its readers get the rest, the outputs close, the file too.
    void stop();
    // Whether a looped file could not be replayed any more.
    bool loopFailed() const { return loopFailed_; }

  private:
    // The sentences, with their CR LF, to every destination.
    class OutputSink : public SentenceSink {
      public:
        explicit OutputSink(HeadlessReplay& replay) : replay_(replay) {}
        void send(std::string_view sentence) override;
        void note(std::string_view) override {}

      private:
        HeadlessReplay& replay_;
        std::string room_; // of the sentence sent before
    };

    ReplayEngine& engine_;
    Outputs& outputs_;
    OutputSink sink_{*this};
    bool loopFailed_ = false;
};

} // namespace korvel
