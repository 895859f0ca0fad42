#include "support/temp_folder.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel::test {

namespace {
constexpr uid_t kNobody = 65534;
}

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/korvel-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
    // Other users (see UnwritableFolder) may look inside, not write.
    chmod(path_.c_str(), 0755);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::write(const std::string& name, const std::string& content) const {
    std::string path = file(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::vector<std::string> TempFolder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool GiveToAnotherUser(const std::string& path) {
    return lchown(path.c_str(), kNobody, kNobody) == 0;
}

UnwritableFolder::UnwritableFolder(const std::string& path) : path_(path), savedUser_(geteuid()) {
    if (savedUser_ == 0)
        EXPECT_EQ(seteuid(kNobody), 0);
    else
        chmod(path_.c_str(), 0555);
}

UnwritableFolder::~UnwritableFolder() {
    if (savedUser_ == 0)
        EXPECT_EQ(seteuid(0), 0);
    else
        chmod(path_.c_str(), 0755);
}

void AsOnAFullDisk(off_t most, const std::function<void()>& act) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(most);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    act();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

} // namespace korvel::test
