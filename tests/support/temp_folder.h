// Folders for tests that touch real files, and ways to meet a folder the user cannot write and
// a disk that fills.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvel::test {

// A fresh folder under the test temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes content to the named file and returns its path.
    std::string write(const std::string& name, const std::string& content) const;
    // The names of what the folder holds, sorted: what a run left behind.
    std::vector<std::string> names() const;

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);

// Gives path to another user ("nobody"), as root can; false when this process cannot.
bool GiveToAnotherUser(const std::string& path);

// While it lives, the folder is not writable for this process: as root the effective user
// becomes "nobody" (root may write anywhere); otherwise the folder loses its write permission.
class UnwritableFolder {
  public:
    explicit UnwritableFolder(const std::string& path);
    ~UnwritableFolder();
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

  private:
    std::string path_;
    uid_t savedUser_;
};

// Runs act while this process may make no file larger than `most` bytes, as on a disk that
// fills: a write beyond it fails ("File too large") instead of ending the process.
void AsOnAFullDisk(off_t most, const std::function<void()>& act);

} // namespace korvel::test
