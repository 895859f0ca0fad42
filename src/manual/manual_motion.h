// A manual position that moves on: along a great circle at a steady speed, its course the way
// the circle runs where the position is now (on a long way east it turns, as a receiver sees).
#pragma once

#include <string>

namespace korvel {

struct ManualMotion {
    double knots = 0;
    double course = 0;       // degrees clockwise from north, 0 to below 360
    double lat = 0, lon = 0; // degrees, north and east positive; longitude -180 to 180

    // On along the circle as far as the speed goes in that many seconds.
    void advance(double seconds);
    // The course in tenths of a degree, as the sentences carry it: "087.5".
    std::string courseText() const;
};

} // namespace korvel
