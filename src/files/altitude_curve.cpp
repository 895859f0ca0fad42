#include "files/altitude_curve.h"

#include <algorithm>

namespace korvel {

void AltitudeCurve::startSegment(double altitude, Color color) {
    if (points_ == 0)
        first_ = altitude;
    if (segments_.size() == kMaxSegments)
        halve();
    segments_.push_back({altitude, altitude, altitude, color});
    roomInLast_ = perSegment_;
}

void AltitudeCurve::addRepeated(double altitude, Color color, long count) {
    while (count > 0) {
        // The rest of the last segment at once: the same altitude again changes it no further.
        long taken = std::max(1L, std::min(count, roomInLast_));
        add(altitude, color);
        roomInLast_ -= taken - 1;
        points_ += taken - 1;
        count -= taken;
    }
}

bool AltitudeCurve::marked(long x, bool segmentStart, const std::vector<Marker>& kept) const {
    // Markers come in the order of x: only the last one of the kind can share x's segment.
    for (auto m = kept.rbegin(); m != kept.rend() && m->x / perSegment_ == x / perSegment_; ++m)
        if (m->segmentStart == segmentStart)
            return true;
    return false;
}

void AltitudeCurve::mark(bool segmentStart) {
    markAt(points_, segmentStart);
}

void AltitudeCurve::markAt(long x, bool segmentStart) {
    if (!marked(x, segmentStart, markers_))
        markers_.push_back({x, segmentStart});
}

void AltitudeCurve::append(const AltitudeCurve& later) {
    long offset = points_, left = later.points_;
    for (const Segment& segment : later.segments_) {
        long count = std::min(later.perSegment_, left);
        left -= count;
        if (count == 2) {
            add(segment.last == segment.low ? segment.high : segment.low, segment.color);
        } else if (count > 2) {
            add(segment.low, segment.color);
            add(segment.high, segment.color);
            addRepeated(segment.last, segment.color, count - 3);
        }
        add(segment.last, segment.color);
    }
    if (offset == 0)
        first_ = later.first_;
    for (const Marker& m : later.markers_)
        markAt(offset + m.x, m.segmentStart);
}

void AltitudeCurve::halve() {
    for (size_t i = 0; i < segments_.size() / 2; ++i) {
        const Segment &a = segments_[2 * i], &b = segments_[2 * i + 1];
        segments_[i] = {std::min(a.low, b.low), std::max(a.high, b.high), b.last, b.color};
    }
    segments_.resize(segments_.size() / 2);
    perSegment_ *= 2;
    roomInLast_ = 0; // every segment was full
    std::vector<Marker> kept;
    for (const Marker& m : markers_)
        if (!marked(m.x, m.segmentStart, kept))
            kept.push_back(m);
    markers_ = std::move(kept);
}

} // namespace korvel
