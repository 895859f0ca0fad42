// The position that manual mode streams, as its bars set it: each coordinate in tenths of a
// second of arc with its hemisphere, the altitude and the speed.
#pragma once

#include <array>
#include <string>

namespace korvel {

struct ManualCoordinate {
    long tenths = 0;       // the magnitude, in tenths of a second of arc
    bool negative = false; // south or west; at 0 degrees the degrees' sign cannot say it

    // The parts as the bars show them: degrees (negative south or west), minutes, seconds
    // and tenths of a second.
    int part(int index) const;
    // A bar moved: its part taken; the degrees' sign is the hemisphere.
    void setPart(int index, int value);
    // North and east positive.
    long signedTenths() const { return negative ? -tenths : tenths; }
    void setSignedTenths(long signedTenths) {
        negative = signedTenths < 0;
        tenths = negative ? -signedTenths : signedTenths;
    }
    // ddmm.mmmm (degreeDigits 2) or dddmm.mmmm (3), its ten-thousandths of a minute moved on
    // by nudge.
    std::string text(int degreeDigits, int nudge) const;
};

struct ManualPosition {
    ManualCoordinate latitude, longitude;
    int altitude = 0; // whole metres
    int kmh = 0;
};

} // namespace korvel
