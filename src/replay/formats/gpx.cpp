// GPX 1.0 and 1.1: the points of tracks (trk, trkseg, trkpt) and routes (rte, rtept), with
// their heights (ele) and times. Each track segment and each route starts a segment; the
// name of a track or route names what follows. Waypoints are no track points.
#include "replay/formats/markup_reader.h"
#include "replay/formats/readers.h"
#include "text/conversions.h"

namespace korvel {

namespace {

class GpxReader : public MarkupReader {
  protected:
    void start(std::string_view name, std::string_view attributes) override {
        if (name == "trk" || name == "rte")
            inTrack_ = true;
        if (name == "trkseg" || name == "rte") {
            segmentStarts();
        } else if (name == "trkpt" || name == "rtept") {
            inPoint_ = true;
            lat_ = Attribute(attributes, "lat");
            lon_ = Attribute(attributes, "lon");
            ele_.clear();
            time_.clear();
        } else if (inPoint_ ? name == "ele" || name == "time" : inTrack_ && name == "name") {
            gather();
        }
    }
    void end(std::string_view name) override {
        if (name == "trkpt" || name == "rtept") {
            if (inPoint_)
                addPoint();
            inPoint_ = false;
        } else if (inPoint_ && name == "ele") {
            ele_ = gathered();
        } else if (inPoint_ && name == "time") {
            time_ = gathered();
        } else if (name == "trk" || name == "rte") {
            inTrack_ = false;
        } else if (!inPoint_ && inTrack_ && name == "name") {
            trackName_ = gathered();
        }
    }

  private:
    void addPoint() {
        std::string text = lat_ + "," + lon_;
        for (const std::string* part : {&ele_, &time_})
            if (!part->empty())
                text += " " + *part;
        MarkupReader::addPoint(lat_, lon_, ele_, time_, std::move(text));
    }

    bool inTrack_ = false, inPoint_ = false;
    std::string lat_, lon_, ele_, time_;
};

} // namespace

bool NamesGpx(std::string_view line) {
    return HoldsRoot(line, "gpx");
}

std::unique_ptr<TrackReader> MakeGpxReader() {
    return std::make_unique<GpxReader>();
}

} // namespace korvel
