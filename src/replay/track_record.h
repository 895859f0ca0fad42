// One record line of a track file read by its format's layout: position texts, date, time and
// altitude, as the fix sentences will carry them. Pure functions: no form, no file.
#pragma once

#include <optional>
#include <string>

namespace korvel {

struct TrackFix {
    std::string latText, lonText;             // ddmm.mmm and dddmm.mmm
    std::string latHemisphere, lonHemisphere; // "N"/"S", "E"/"W"
    std::string day, month, year;             // month as number or name; year with four digits
    std::string timeText;                     // hh:mm:ss, empty when the format has none
    std::string compactTime;                  // hhmmss
    std::optional<std::string> altitude;      // metres; no value: the previous one stays
    bool newSegment = false;                  // an OziExplorer point that starts a segment
};

// Reads a record line of the named format ("KML", "OziExplorer", "TTQV-PCX", "PCX5",
// "Gardown", "G7To", "Korvel", "G7ToWin"). Malformed lines give what their fields give.
TrackFix ReadTrackRecord(const std::string& format, const std::string& line);

// What the altitude profile draws of a record line: its altitude in whole metres, absent when
// the record has none, and its segment mark, read as ReadTrackRecord reads them but without the
// position and the date.
struct TrackHeight {
    std::optional<double> altitude;
    bool newSegment = false;
};
TrackHeight ReadTrackHeight(const std::string& format, std::string_view line);
// A line of an OziExplorer track after its header read in one look: false when it holds no
// point, else its height is read into height.
bool ReadOziPointHeight(std::string_view line, TrackHeight& height);

// Whether a line of a file of that format holds a track point. lineNumber counts from 1;
// recordMarker is the first character of record lines for the fixed-column formats.
bool IsTrackRecord(const std::string& format, std::string_view line, long lineNumber,
                   const std::string& recordMarker);

// The root element line of a KML document: "<kml" followed by a blank, ">" or the line's end.
bool IsKmlRoot(const std::string& line);

// Minutes of arc as ddmm.mmm (degreeDigits 2) or dddmm.mmm (3); minutes that round up to 60
// carry into the degrees.
std::string PositionText(double minutesOfArc, int degreeDigits);

// The two-digit month number of a month number or an English month name, "00" when unknown.
std::string MonthNumber(const std::string& month);

// A two-digit year with its century: above 80 the 1900s, otherwise the 2000s.
std::string FourDigitYear(const std::string& twoDigits);

} // namespace korvel
