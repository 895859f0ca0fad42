#include "cli/headless_replay.h"

#include <iostream>
#include <utility>

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
    wrongChecksums_ = loaded.wrongChecksums;
    cutShort_ = loaded.cutShort;
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
    auto say = [](long count, const char* what, const char* done) {
        if (count > 0)
            std::cerr << "korvel: the log holds " << count
                      << (count == 1 ? " sentence " : " sentences ") << what << ": "
                      << (count == 1 ? "it was " : "they were ") << done << "\n";
    };
    say(std::exchange(wrongChecksums_, 0), "whose checksum is wrong", "sent as recorded");
    say(std::exchange(cutShort_, 0), "cut short (no checksum where the others have one)",
        "left out");
}

} // namespace korvel
