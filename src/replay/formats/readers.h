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
// segment), each with its column layout: the point of a line, into a fix that holds none yet.
using ColumnLayout = void (*)(std::string_view line, TrackFix& fix);
std::unique_ptr<TrackReader> MakeColumnReader(ColumnLayout layout);
void ReadTtqvColumns(std::string_view line, TrackFix& fix);
void ReadPcx5Columns(std::string_view line, TrackFix& fix);
void ReadGardownColumns(std::string_view line, TrackFix& fix); // also "G7To" and "Korvel"
void ReadG7ToWinColumns(std::string_view line, TrackFix& fix);

} // namespace korvel
