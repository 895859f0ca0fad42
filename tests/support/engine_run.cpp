#include "support/engine_run.h"

namespace korvel::test {

EngineRun::EngineRun() {
    for (std::size_t kind = 0; kind < kSentenceKinds; ++kind)
        engine.options.sentences.set(static_cast<Sentence>(kind), true);
}

LoadResult EngineRun::load(const std::string& name, const std::string& content) {
    // The day a log without RMC is dated by: 6 December 2026.
    const LocalDateTime today{2026, 12, 6, 12, 0, 0, 1};
    LoadResult result = engine.load(folder.write(name, content), today, [] { return true; });
    engine.active = result.loaded();
    engine.index = 0;
    return result;
}

void EngineRun::only(std::initializer_list<Sentence> kinds) {
    engine.options.sentences = {};
    for (Sentence kind : kinds)
        engine.options.sentences.set(kind, true);
}

void EngineRun::playToEnd() {
    while (!engine.playNext(*this).ended) {
    }
}

} // namespace korvel::test
