// The "drives" of the file browser: the file systems a user keeps tracks on.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// The root and the user's home folder.
std::vector<std::string> Drives();
// The drive that holds path: the home folder for paths inside it, otherwise the root.
std::string DriveOf(const std::string& path);

} // namespace korvel
