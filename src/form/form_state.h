// The form-level variables that several subsystems share, named as the user's documents name
// them. Flags hold 0 and 1; counters are wide enough for any file.
#pragma once

#include "output/port_entries.h"
#include "replay/record_figures.h"
#include "replay/replay_kinds.h"
#include "replay/sentence_sink.h"
#include "replay/track_record.h"
#include "replay/trip_figures.h"

#include <string>
#include <vector>

namespace korvel {

// The files the list shows until the settings name others: logs and tracks.
constexpr const char* kDefaultFilePattern = "*.log;*.nma;*.trl;*.trk;*.plt;*.kml;*.gpx";

struct FormState {
    // Pacing.
    int stepOnce = 0;
    double stepDurationMs = 0; // how long the previous tick took
    int savedInterval = 0;     // Timer1's interval when "last record only" was checked

    // Sentences, and the motion of the latest record.
    LatestSentences latest;
    RecordFigures figures;
    // The leg, the trip's distance and its fastest speed, of a replay and of manual mode.
    TripFigures trip;

    // Ports.
    int outputPortIndex = 0;
    int garminPortIndex = 1;
    // The window's size as it last was, kept with the settings; 0 when none is kept.
    int windowWidth = 0, windowHeight = 0;

    // Display.

    // Settings.
    std::string programFolder; // with a trailing "/"
};

} // namespace korvel
