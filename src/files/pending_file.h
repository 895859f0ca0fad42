// Files written for the user appear whole or not at all: the bytes go to a temporary file beside
// the target, which takes the target's name only when everything was written.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

class PendingFile {
  public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { discard(); }

    // Creates the temporary file beside target (beside the file it links to, for a symbolic
    // link); false with the reason in error.
    bool create(const std::string& target, std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    // Writes all of bytes; false with the reason in error (a full disk, an I/O error).
    bool write(std::string_view bytes, std::string& error);
    // Gives the written file the target's name. replace: an existing target is replaced;
    // otherwise an existing target is kept and the commit fails. A file written whole that
    // cannot take the target's name (it appeared meanwhile, or is a folder) is kept under
    // keptAs(); one that could not be written whole is removed.
    bool commit(bool replace, std::string& error);
    // Where the whole file lies after a commit that failed to name it, or "".
    const std::string& keptAs() const { return kept_; }
    // Removes the temporary file; the target is untouched.
    void discard();

  private:
    int fd_ = -1;
    unsigned mode_ = 0644;
    std::string target_, temporary_, kept_;
};

// Writes all of bytes to fd; false with the errno in error when it cannot (a full disk gives
// ENOSPC, a reader that has gone EPIPE).
bool WriteAll(int fd, std::string_view bytes, int& error);

// A folder of the program's own under the system's temporary folder, readable by nobody else;
// "" with the reason in error when none can be made.
std::string MakePrivateFolder(std::string& error);

// The system's temporary folder.
std::string TemporaryFolder();

// Removes from folder the temporary files and folders of this program whose process has gone
// (a run that was killed): a download's temporary file, a private folder.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace korvel
