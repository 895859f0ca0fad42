// A replay without a window: the engine's records go to the outputs and nothing is shown; at
// the end of the file the run stops, or loops. What the user is told goes to standard error.
#pragma once

#include "cli/output_sink.h"
#include "output/outputs.h"
#include "replay/replay_engine.h"

#include <functional>
#include <string>

namespace korvel {

// The replay's parts that a run without a window owns: what the window would show of them is
// kept nowhere, and the engine spares their making.
struct ReplayParts {
    ReplayParts() { engine.showFigures(false); }
    LatestSentences latest;
    TripFigures trip;
    RecordFigures figures;
    ReplayEngine engine{latest, trip, figures};
};

class HeadlessReplay {
  public:
    // sink: where the records go, which are sent to outputs.
    HeadlessReplay(ReplayEngine& engine, Outputs& outputs, OutputSink& sink)
        : engine_(engine), outputs_(outputs), sink_(sink) {}
    HeadlessReplay(const HeadlessReplay&) = delete;
    HeadlessReplay& operator=(const HeadlessReplay&) = delete;

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
    // The run ends: its readers get the rest, the outputs close, the file too; the user is told
    // of the log's sentences with a wrong checksum, or cut short.
    void stop();
    // Whether a looped file could not be replayed any more.
    bool loopFailed() const { return loopFailed_; }
    // Called when the file starts again.
    std::function<void()> looped;

  private:
    ReplayEngine& engine_;
    Outputs& outputs_;
    OutputSink& sink_;
    bool loopFailed_ = false;
    long wrongChecksums_ = 0, cutShort_ = 0; // of the log loaded
};

} // namespace korvel
