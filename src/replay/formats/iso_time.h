// The times that GPX and KML write (ISO 8601, as 2010-12-02T12:06:16Z), as the date and time
// of a fix in UTC.
#pragma once

#include "replay/track_record.h"

#include <string_view>

namespace korvel {

// Sets the fix's date and time from such a text: a fraction of the second is kept, an
// offset from UTC is taken off. False, and the fix unchanged, for any other text.
bool SetIsoTime(TrackFix& fix, std::string_view text);

} // namespace korvel
