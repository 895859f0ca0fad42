// What the form and its presenters share: the latest sentences and the motion they carry, the
// ports chosen, the window's size and the program's folder.
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
constexpr const char* kDefaultFilePattern = "*.log;*.nma;*.nmea;*.trl;*.trk;*.plt;*.kml;*.gpx";

struct FormState {
    // Pacing.
    double stepDurationMs = 0; // how long the previous tick took

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

    // Settings.
    std::string programFolder; // with a trailing "/"
};

} // namespace korvel
