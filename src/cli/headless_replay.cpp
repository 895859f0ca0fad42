#include "cli/headless_replay.h"

#include <iostream>

namespace korvel {

bool HeadlessReplay::start(const std::string& path, const std::string& port,
                           const LocalDateTime& today) {
    LoadResult loaded = engine_.load(path, today, [] { return true; });
    if (!loaded.loaded()) {
        // What the file is not, then why.
        for (const std::string& why : loaded.refusal)
            std::cerr << "korvel: " << (loaded.dataError ? "Data-Error !: " : "") << why << "\n";
        engine_.stop();
        return false;
    }
    engine_.index = 0;
    engine_.active = true;
    outputs_.route(port);
    if (std::optional<OutputFailure> failure = outputs_.open()) {
        SayFailure(*failure);
        stop();
        return false;
    }
    return true;
}

HeadlessReplay::Step HeadlessReplay::step() {
    RecordStep played = engine_.playNext(sink_);
    SayFailures(outputs_);
    Step step{played.counted, false};
    if (!played.ended)
        return step;
    if (!engine_.options.loop) {
        stop();
        return step;
    }
    if (std::optional<std::string> cannot = engine_.loopBack()) {
        std::cerr << "korvel: " << *cannot << "\n";
        loopFailed_ = true;
        stop();
        return step;
    }
    step.looped = true;
    if (looped)
        looped();
    return step;
}

void HeadlessReplay::stop() {
    outputs_.close();
    engine_.stop();
}

} // namespace korvel
