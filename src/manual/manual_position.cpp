#include "manual/manual_position.h"

#include "text/conversions.h"

namespace korvel {

int ManualCoordinate::part(int index) const {
    switch (index) {
    case 0:
        return static_cast<int>(negative ? -(tenths / 36000) : tenths / 36000);
    case 1:
        return static_cast<int>(tenths / 600 % 60);
    case 2:
        return static_cast<int>(tenths / 10 % 60);
    default:
        return static_cast<int>(tenths % 10);
    }
}

void ManualCoordinate::setPart(int index, int value) {
    std::array<long, 4> parts{tenths / 36000, tenths / 600 % 60, tenths / 10 % 60, tenths % 10};
    if (index == 0) {
        negative = value < 0;
        parts[0] = negative ? -value : value;
    } else {
        parts[static_cast<size_t>(index)] = value;
    }
    tenths = ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * 10 + parts[3];
}

std::string ManualCoordinate::text(int degreeDigits, int nudge) const {
    // Seconds and tenths as ten-thousandths of a minute.
    double rest = (static_cast<double>(part(2)) + part(3) / 10.0) / 0.006 + nudge;
    return Format(static_cast<double>(tenths / 36000), degreeDigits == 2 ? "00" : "000") +
           Format(part(1), "00") + "." + Format(rest, "0000");
}

} // namespace korvel
