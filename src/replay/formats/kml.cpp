// KML as programs write it: the coordinate tuples of a line or ring ("lon,lat[,alt]",
// separated by any white space, however many a line), and gx:Track with its times (a "when"
// for each "gx:coord", in order, read from the file apace with the positions). Each line, ring and
// track starts a segment. The places of single placemarks (Point) are no track points, nor is any
// text outside the coordinates. A line that starts where a gx:Track before it started is that
// track's copy without times (GPSBabel writes both): the track plays once, with its times.
#include "replay/formats/kml_times.h"
#include "replay/formats/markup_reader.h"
#include "replay/formats/readers.h"
#include "text/conversions.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace korvel {

namespace {

// A tuple longer than this is no coordinate tuple: the rest is not kept.
constexpr size_t kLongestTuple = 256;

class KmlReader : public MarkupReader {
  public:
    void readFrom(const std::string& path) override { times_ = std::make_unique<KmlTimes>(path); }

  protected:
    void start(std::string_view name, std::string_view) override {
        if (name == "Placemark") {
            inPlacemark_ = true;
        } else if (name == "Point") {
            inPoint_ = true;
        } else if (name == "coordinates" && !inPoint_) {
            inCoordinates_ = true;
            firstTuple_ = true;
            copy_ = false;
            segmentStarts();
            tuple_.clear();
        } else if (name == "Track") {
            inTrack_ = true;
            trackStarts_.emplace_back();
            segmentStarts();
            if (times_)
                times_->enterTrack(++tracks_);
        } else if (name == "coord" && inTrack_) {
            gather();
        } else if (name == "name" && inPlacemark_) {
            gather();
        }
    }
    void end(std::string_view name) override {
        if (name == "Placemark") {
            inPlacemark_ = false;
        } else if (name == "Point") {
            inPoint_ = false;
        } else if (name == "coordinates" && inCoordinates_) {
            tupleEnds();
            inCoordinates_ = false;
        } else if (name == "Track") {
            inTrack_ = false;
        } else if (name == "coord" && inTrack_) {
            trackCoordinate(gathered());
        } else if (name == "name" && inPlacemark_) {
            trackName_ = gathered();
        }
    }
    void text(std::string_view text) override {
        if (!inCoordinates_)
            return MarkupReader::text(text);
        for (char c : text) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
                tupleEnds();
            else if (tuple_.size() < kLongestTuple)
                tuple_ += c;
        }
    }

  private:
    void tupleEnds() {
        if (tuple_.empty() || copy_)
            return;
        std::vector<std::string> fields = SplitFields(tuple_);
        if (std::exchange(firstTuple_, false) && fields.size() >= 2) {
            Start start = startOf(fields[1], fields[0]);
            copy_ = start && std::ranges::find(trackStarts_, start) != trackStarts_.end();
        }
        if (!copy_ && (fields.size() == 2 || fields.size() == 3))
            addPoint(fields[1], fields[0], fields.size() == 3 ? fields[2] : "", "", tuple_);
        tuple_.clear();
    }
    using Start = std::optional<std::pair<double, double>>;
    static Start startOf(const std::string& lat, const std::string& lon) {
        std::optional<double> latDegrees = PlainNumber(lat), lonDegrees = PlainNumber(lon);
        if (!latDegrees || !lonDegrees)
            return std::nullopt;
        return std::pair(*latDegrees, *lonDegrees);
    }
    // "lon lat alt", with its time when the track gave one for it.
    void trackCoordinate(const std::string& coordinate) {
        std::vector<std::string> fields;
        for (size_t at = 0; at < coordinate.size();) {
            size_t end = coordinate.find_first_of(" \t\n\r", at);
            if (end != at)
                fields.push_back(coordinate.substr(at, end - at));
            at = end == std::string::npos ? end : end + 1;
        }
        std::string when = times_ ? times_->next() : "";
        if (fields.size() >= 2 && !trackStarts_.back())
            trackStarts_.back() = startOf(fields[1], fields[0]);
        if (fields.size() == 2 || fields.size() == 3)
            addPoint(fields[1], fields[0], fields.size() == 3 ? fields[2] : "", when, coordinate);
    }

    bool inPlacemark_ = false, inPoint_ = false, inCoordinates_ = false, inTrack_ = false;
    bool firstTuple_ = false, copy_ = false; // of the line being read
    std::vector<Start> trackStarts_;         // the first position of each gx:Track read
    std::string tuple_;
    std::unique_ptr<KmlTimes> times_; // read apace from the file, as the positions come
    int tracks_ = 0;
};

} // namespace

bool NamesKml(std::string_view line) {
    return HoldsRoot(line, "kml");
}

std::unique_ptr<TrackReader> MakeKmlReader() {
    return std::make_unique<KmlReader>();
}

} // namespace korvel
