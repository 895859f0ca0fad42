// The readers of the track formats, one file each; the detection table in track_formats.cpp
// is what chooses among them.
#pragma once

#include "replay/formats/track_reader.h"

namespace korvel {

// OziExplorer: a first line beginning "OziEx", five more header lines, then one
// comma-separated point a line.
bool NamesOzi(std::string_view line);
std::unique_ptr<TrackReader> MakeOziReader();

// KML: coordinate tuples of lines and tracks, gx:Track with its times.
bool NamesKml(std::string_view line);
std::unique_ptr<TrackReader> MakeKmlReader();

// GPX 1.0 and 1.1: track and route points with their altitudes and times.
bool NamesGpx(std::string_view line);
std::unique_ptr<TrackReader> MakeGpxReader();

// The fixed-column exports whose point lines begin "T " ("L" names the track, "N" starts a
// segment), each with its column layout: the point of a line, into a fix that holds none yet,
// and what the load takes of it: whether its columns hold a position on the globe, and if so
// the point's altitude in whole metres, NaN when it has none.
struct ColumnLayout {
    void (*point)(std::string_view line, TrackFix& fix);
    bool (*height)(std::string_view line, double& metres);
};
std::unique_ptr<TrackReader> MakeColumnReader(ColumnLayout layout);
extern const ColumnLayout kTtqvColumns, kPcx5Columns, kG7ToWinColumns;
extern const ColumnLayout kGardownColumns; // also "G7To" and "Korvel"

} // namespace korvel
