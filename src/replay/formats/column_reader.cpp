// The fixed-column exports read line by line: "L" names the track, "N" starts a segment and
// a line that begins "T " is a point in the file's column layout. A line whose columns hold
// no position (a UTM grid reference, a shifted column) is no point.
#include "replay/formats/readers.h"
#include "text/conversions.h"

#include <cmath>
#include <utility>

namespace korvel {

namespace {

class ColumnReader : public TrackReader {
  public:
    explicit ColumnReader(ColumnLayout layout) : layout_(layout) {}
    void read(std::string_view line, std::vector<TrackPoint>& points) override {
        if (line.starts_with('L'))
            trackName_ = Mid(line, 15);
        if (line.starts_with('N'))
            segmentPending_ = true;
        if (!line.starts_with("T "))
            return;
        TrackPoint& point = points.emplace_back();
        layout_.point(line, point.fix);
        if (!OnTheGlobe(point.fix)) {
            points.pop_back();
            return;
        }
        point.fix.newSegment = std::exchange(segmentPending_, false);
        if (keepTexts_)
            point.text = line;
    }
    // A segment line is marked where it stands, whichever stretch of the file it lies in.
    void readHeights(std::string_view line, std::vector<TrackHeight>& heights) override {
        if (line.starts_with('N')) {
            heights.push_back({std::nullopt, true, false});
            return;
        }
        if (!line.starts_with("T "))
            return;
        // The metres as a number, not an optional one: a height read whole just after its parts
        // were written waits for the writes, at every point of a large track.
        double metres;
        if (!layout_.height(line, metres))
            return;
        heights.push_back({std::isnan(metres) ? std::nullopt : std::optional(metres), false, true});
    }
    std::unique_ptr<TrackReader> resumed() const override {
        return std::make_unique<ColumnReader>(layout_);
    }

  private:
    ColumnLayout layout_;
    bool segmentPending_ = false;
};

} // namespace

std::unique_ptr<TrackReader> MakeColumnReader(ColumnLayout layout) {
    return std::make_unique<ColumnReader>(layout);
}

} // namespace korvel
