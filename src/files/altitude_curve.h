// The altitude profile of a file as the loader reads it: the points in record order, held as
// no more than kMaxSegments segments of equal length, so that what is kept (and drawn) stays
// the same size whatever the length of the file.
#pragma once

#include "form/control.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace korvel {

class AltitudeCurve {
  public:
    static constexpr size_t kMaxSegments = 2000;

    struct Segment {
        double low, high; // among its points
        double last;      // of its last point
        Color color;      // of its last point
    };
    // Drawn at the point reached when it was read: the start of a track segment, or a line of
    // the file that marks a place.
    struct Marker {
        long x;
        bool segmentStart;
    };

    // Here, as it runs for every point of a file: nearly every point joins the last segment.
    void add(double altitude, Color color) {
        if (roomInLast_ == 0)
            startSegment(altitude, color);
        lowest_ = std::min(lowest_, altitude);
        highest_ = std::max(highest_, altitude);
        Segment& segment = segments_.back();
        segment.low = std::min(segment.low, altitude);
        segment.high = std::max(segment.high, altitude);
        segment.last = altitude;
        segment.color = color;
        --roomInLast_;
        ++points_;
    }
    void mark(bool segmentStart);
    // The points and markers of a curve read from the lines after these. Its segments of
    // several points come as points of their lowest, highest and last altitude: the span of
    // each stays, its place moves by less than a segment.
    void append(const AltitudeCurve& later);

    long points() const { return points_; }
    long perSegment() const { return perSegment_; }
    double first() const { return first_; }
    double lowest() const { return lowest_; }
    double highest() const { return highest_; }
    const std::vector<Segment>& segments() const { return segments_; }
    const std::vector<Marker>& markers() const { return markers_; }

  private:
    // A segment that begins with this point, after halving the curve when it is full.
    void startSegment(double altitude, Color color);
    // What add does count times, a segment at a time.
    void addRepeated(double altitude, Color color, long count);
    // Joins neighbouring segments in pairs: each then holds twice as many points.
    void halve();
    // A marker at point x, unless one of that kind already stands in x's segment.
    void markAt(long x, bool segmentStart);
    // Whether a marker of that kind already stands in x's segment.
    bool marked(long x, bool segmentStart, const std::vector<Marker>& kept) const;

    long points_ = 0, perSegment_ = 1;
    long roomInLast_ = 0; // points the last segment takes before the next begins
    // The extremes start at the first point's altitude, whatever its sign.
    double first_ = 0, lowest_ = std::numeric_limits<double>::infinity(),
           highest_ = -std::numeric_limits<double>::infinity();
    std::vector<Segment> segments_;
    std::vector<Marker> markers_;
};

} // namespace korvel
