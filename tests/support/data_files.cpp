#include "support/data_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace korvel::test {

std::vector<std::string> DataFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (std::filesystem::exists(entry.path().string() + suffix))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string DataFileTestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

} // namespace korvel::test
