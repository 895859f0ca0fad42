// The manual position the settings keep (section "Manu"): the bars' values, each held within
// its bar's range, and the hemispheres that the bars cannot show at 0 degrees.
#pragma once

#include "manual/manual_position.h"

namespace korvel {

class ProfileFile;

ManualPosition ManualPositionOf(const ProfileFile& profile);

} // namespace korvel
