// Claims on the names of pseudo-terminal links, so that two running programs never share one.
#pragma once

#include <string>

namespace korvel {

// A claim on the link at path (absolute) that lasts exactly as long as the process holding it:
// a lock on a file in the user's private runtime folder, where no other user can take or
// block it. The claim's descriptor, or -1 with why.
int ClaimLinkName(const std::string& path, std::string& why);

} // namespace korvel
