// Whether a file named on the command line can be replayed at all, told before anything starts.
#pragma once

#include <string>

namespace korvel {

// "" when path is a file this process can read; otherwise why not ("No such file or directory",
// "Permission denied", "Is a directory").
std::string WhyUnreadable(const std::string& path);

} // namespace korvel
