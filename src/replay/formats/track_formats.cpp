#include "replay/formats/track_formats.h"

#include "replay/formats/readers.h"

namespace korvel {

namespace {

// The formats a line names: the first match wins.
struct NamedFormat {
    const char* name;
    bool (*names)(std::string_view line);
    std::unique_ptr<TrackReader> (*make)();
};
const NamedFormat kNamedFormats[] = {
    {"OziExplorer", NamesOzi, MakeOziReader},
    {"KML", NamesKml, MakeKmlReader},
    {"GPX", NamesGpx, MakeGpxReader},
};

// The fixed-column exports, told apart by a column of their first point line: the first
// match wins. The program's own files name themselves ("Korvel" on a line before it).
struct ColumnFormat {
    const char* name;
    long column;
    char mark;
    const ColumnLayout& layout;
};
const ColumnFormat kColumnFormats[] = {
    {"Korvel", 0, 0, kGardownColumns},  {"TTQV-PCX", 4, '+', kTtqvColumns},
    {"PCX5", 41, ':', kPcx5Columns},    {"G7ToWin", 47, ':', kG7ToWinColumns},
    {"G7To", 54, ';', kGardownColumns}, {"Gardown", 42, ':', kGardownColumns},
};

} // namespace

bool TrackFormatDetection::look(std::string_view line) {
    for (const NamedFormat& format : kNamedFormats)
        if (format.names(line)) {
            format_ = format.name;
            return true;
        }
    if (line.find("Korvel") != std::string_view::npos)
        namedKorvel_ = true;
    // A point line is its marker and a blank: free text such as "Tour of the lakes" at the
    // top of a log is no track point.
    if (!line.starts_with("T "))
        return false;
    for (const ColumnFormat& format : kColumnFormats) {
        bool matches = format.column == 0
                           ? namedKorvel_
                           : line.size() >= static_cast<size_t>(format.column) &&
                                 line[static_cast<size_t>(format.column - 1)] == format.mark;
        if (matches) {
            format_ = format.name;
            break;
        }
    }
    return true;
}

std::unique_ptr<TrackReader> MakeTrackReader(const std::string& name) {
    for (const NamedFormat& format : kNamedFormats)
        if (name == format.name)
            return format.make();
    for (const ColumnFormat& format : kColumnFormats)
        if (name == format.name)
            return MakeColumnReader(format.layout);
    return nullptr;
}

} // namespace korvel
