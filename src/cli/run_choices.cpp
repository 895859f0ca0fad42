#include "cli/run_choices.h"

#include "output/port_entries.h"
#include "replay/replay_engine.h"
#include "replay/step_pace.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

std::string ChosenPort(const RunOptions& o, long savedIndex, std::string& error) {
    const std::vector<std::string>& entries = PortEntries();
    if (o.port.empty())
        return entries[static_cast<size_t>(PortIndexOrDefault(savedIndex))];
    bool device = o.port.starts_with("/") || o.port == "none";
    std::string entry = device ? "COM1" : o.port;
    if (PortEntryIndex(entry) >= 0)
        return entry;
    error =
        "korvel: --port " + o.port +
        " is not a port (COM1..COM16, Port1..Port4, LPT1..LPT3, TCP, PTY, UDP, a device path or "
        "none)";
    return "";
}

std::string MoreOutputsRefused(const std::string& chosen, const std::vector<std::string>& ports) {
    int serial = Left(chosen, 3) == "COM";
    for (const std::string& port : ports) {
        if (port == "none" || chosen == port || PortEntryIndex(port) < 0 ||
            std::count(ports.begin(), ports.end(), port) > 1)
            return "korvel: --port " + port + " cannot be one more port (" +
                   (port == "none" ? "none stands alone" : "a port of the list, each once") + ")";
        serial += Left(port, 3) == "COM";
    }
    if (serial > 1)
        return "korvel: one serial port at a time";
    return "";
}

int IntervalOptionNamed(const std::string& interval) {
    for (size_t i = 0; i < std::size(kIntervalNames); ++i)
        if (interval == kIntervalNames[i] || (interval == "max" && i == 3))
            return static_cast<int>(i);
    return -1;
}

std::optional<double> IntervalSeconds(const std::string& interval) {
    if (interval.empty() || interval.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    double seconds = Val(interval);
    if (seconds < 0.05 || seconds > 3600)
        return std::nullopt;
    return seconds;
}

SentenceSet SentencesNamed(const std::string& names) {
    std::vector<std::string> chosen = SplitFields(names);
    SentenceSet set;
    for (size_t i = 0; i < kSentenceKinds; ++i)
        set.set(static_cast<Sentence>(i),
                std::find(chosen.begin(), chosen.end(), kSentenceNames[i]) != chosen.end());
    return set;
}

SentenceSet ChosenSentences(const RunOptions& o) {
    if (o.sentences)
        return SentencesNamed(*o.sentences);
    SentenceSet set;
    for (Sentence kind : {Sentence::Rmc, Sentence::Gga, Sentence::Vtg})
        set.set(kind, true);
    return set;
}

std::optional<int> ManualPeriodMs(const std::string& interval, std::string& error) {
    if (std::optional<double> seconds = IntervalSeconds(interval))
        return static_cast<int>(Round(*seconds * 1000));
    int option = IntervalOptionNamed(interval);
    if (option < 0 && interval != "max")
        return 1000;
    if (option >= 0 && interval != "max" && kManualPeriodMs[option] != 0)
        return kManualPeriodMs[option];
    std::string offered;
    for (size_t i = 0; i < std::size(kIntervalNames); ++i)
        if (kManualPeriodMs[i] != 0)
            offered += (offered.empty() ? "" : ", ") + std::string(kIntervalNames[i]);
    error = "korvel: --interval " + interval + " is not offered in manual mode (" + offered + ")";
    return std::nullopt;
}

void ApplyReplayOptions(const RunOptions& o, ReplayEngine& engine) {
    ReplayOptions& options = engine.options;
    options.sentences = ChosenSentences(o);
    options.loop = o.loop;
    options.newestOnly = o.last;
    options.sameTimePosition = o.sameTimePos;
    options.autoReset = o.autoReset;
    options.autoSkip = o.autoSkip;
    options.style = {o.talker, o.nmeaVersion, true};
    int option = IntervalOptionNamed(o.interval);
    IntervalOption pace = IntervalOptionAt(option >= 0 ? option : 4); // 1 s unless told
    if (std::optional<double> seconds = IntervalSeconds(o.interval))
        pace = {1, *seconds * 1000};
    engine.step = pace.step;
    options.intervalMs = pace.periodMs;
}

} // namespace korvel
