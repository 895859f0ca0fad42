// The cases of a test-data folder: each file there with its expectation beside it.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::test {

// The folder's files that have a companion named after them with suffix appended, sorted.
std::vector<std::string> DataFiles(const std::string& folder, const std::string& suffix);
// The name of a file's test: its name with every character but letters and digits as "_".
std::string DataFileTestName(const testing::TestParamInfo<std::string>& info);

} // namespace korvel::test
