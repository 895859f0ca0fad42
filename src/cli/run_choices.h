// What the command line's options choose among the window's: the port-list entry and the
// further ports, the interval option, the sentences and the replay's options.
#pragma once

#include "cli/command_line.h"
#include "replay/replay_options.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel {

class ReplayEngine;

// The port-list entry that --port names (COM1 for a device path or none), else the saved one
// at savedIndex (the first entry when that is none); "" with why in error when --port names no
// entry.
std::string ChosenPort(const RunOptions& o, long savedIndex, std::string& error);
// "" when the further ports can take the stream beside chosen: entries of the port list, one
// serial port among them all, none of them "none"; else why not.
std::string MoreOutputsRefused(const std::string& chosen, const std::vector<std::string>& ports);

// The interval options by their names on the command line, in the window's order; "max" runs
// at "cont" without pacing.
inline constexpr const char* kIntervalNames[] = {"x8", "x4", "x2", "cont", "1s", "2s", "4s", "8s"};
// The option's index, -1 when it names none.
int IntervalOptionNamed(const std::string& interval);
// The interval's seconds when it is a number from 0.05 to 3600 rather than a name; none else.
std::optional<double> IntervalSeconds(const std::string& interval);

// The sentences a comma-separated list names (RMC, GGA, VTG, RMB, GSA, GSV, OTH, GLL, ZDA, GNS).
SentenceSet SentencesNamed(const std::string& names);
// The sentences --sentences names, else those checked at the start (RMC, GGA, VTG).
SentenceSet ChosenSentences(const RunOptions& o);

// Manual mode's period between ticks, as its interval options (cont, 1s, 2s) give it; none,
// with why in error, for an interval that manual mode does not offer.
std::optional<int> ManualPeriodMs(const std::string& interval, std::string& error);

// The replay's options, sentences and pace as the command line asks for them.
void ApplyReplayOptions(const RunOptions& o, ReplayEngine& engine);

} // namespace korvel
