#include "manual/manual_settings.h"

#include "app/profile_file.h"

#include <algorithm>
#include <string>

namespace korvel {

namespace {

// The degrees, minutes, seconds and tenths kept for one coordinate, each within its bar.
ManualCoordinate coordinateOf(const ProfileFile& profile, const std::string& key,
                              const int (&design)[4], int mostDegrees, const std::string& side,
                              const char* negativeSide) {
    const int most[] = {mostDegrees, 59, 59, 9};
    ManualCoordinate coordinate;
    for (int i = 0; i < 4; ++i) {
        long value = profile.readInt("Manu", key + std::to_string(i), design[i]);
        coordinate.setPart(
            i, static_cast<int>(std::clamp<long>(value, i == 0 ? -mostDegrees : 0, most[i])));
    }
    if (coordinate.signedTenths() > 0 && side == negativeSide)
        coordinate.negative = true;
    return coordinate;
}

} // namespace

ManualPosition ManualPositionOf(const ProfileFile& profile) {
    const int north[] = {48, 5, 44, 7}, east[] = {11, 38, 11, 7};
    ManualPosition position;
    position.latitude =
        coordinateOf(profile, "PosN", north, 89, profile.readString("Manu", "PosNS", ""), "S");
    position.longitude =
        coordinateOf(profile, "PosE", east, 179, profile.readString("Manu", "PosEW", ""), "W");
    position.altitude =
        static_cast<int>(std::clamp(profile.readInt("Manu", "Alt", 550), 0L, 2000L));
    position.kmh = static_cast<int>(std::clamp(profile.readInt("Manu", "Speed", 50), 0L, 200L));
    return position;
}

} // namespace korvel
