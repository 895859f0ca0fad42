// The real logs and track files of the robustness sweeps, and reading files as lines.
#pragma once

#include <string>
#include <vector>

namespace korvel::test {

// $KORVEL_CORPUS, or the corpus beside the repository.
std::string CorpusFolder();
// The lines of a file as the replay reads them.
std::vector<std::string> ReadLines(const std::string& path);

} // namespace korvel::test
