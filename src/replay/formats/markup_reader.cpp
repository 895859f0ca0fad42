#include "replay/formats/markup_reader.h"

#include "replay/formats/iso_time.h"
#include "text/conversions.h"

#include <cmath>

namespace korvel {

namespace {
// An element's text longer than this is no name, time or height: the rest is not kept.
constexpr size_t kLongestText = 4096;
} // namespace

void MarkupReader::addPoint(std::string_view lat, std::string_view lon, std::string_view altitude,
                            std::string_view time, std::string text) {
    std::optional<double> latDegrees = PlainNumber(lat), lonDegrees = PlainNumber(lon);
    if (!latDegrees || !lonDegrees || std::fabs(*latDegrees) > 90 || std::fabs(*lonDegrees) > 180)
        return;
    TrackPoint& point = points_->emplace_back();
    SetPosition(point.fix, *latDegrees, *lonDegrees);
    if (!SetIsoTime(point.fix, time))
        SetNoDate(point.fix);
    // An altitude that is no number is none.
    std::optional<double> metres = PlainNumber(altitude);
    point.fix.altitude = metres ? NearestMetre(*metres) : kNoAltitude;
    point.fix.newSegment = newSegment_;
    newSegment_ = false;
    if (keepTexts_)
        point.text = std::move(text);
}

void MarkupReader::read(std::string_view chunk, std::vector<TrackPoint>& points) {
    points_ = &points;
    scanner_.feed(chunk, *this);
}

void MarkupReader::gather() {
    gathering_ = true;
    text_.clear();
}

std::string MarkupReader::gathered() {
    gathering_ = false;
    return std::string(TrimWhiteSpace(text_));
}

void MarkupReader::text(std::string_view text) {
    if (gathering_)
        text_.append(text.substr(0, kLongestText - std::min(kLongestText, text_.size())));
}

bool HoldsRoot(std::string_view line, std::string_view name) {
    for (size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
        std::string_view rest = line.substr(at + 1);
        // The root may carry a namespace prefix, as in <gpx:gpx>.
        size_t nameEnd = rest.find_first_of(" \t>/:");
        if (nameEnd != std::string_view::npos && rest[nameEnd] == ':')
            rest.remove_prefix(nameEnd + 1);
        if (!rest.starts_with(name))
            continue;
        rest.remove_prefix(name.size());
        if (rest.empty() || rest[0] == ' ' || rest[0] == '\t' || rest[0] == '>' || rest[0] == '/')
            return true;
    }
    return false;
}

} // namespace korvel
