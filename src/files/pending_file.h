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

    // Creates the temporary file beside target; false with the reason in error.
    bool create(const std::string& target, std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    // Writes all of bytes; false with the reason in error (a full disk, an I/O error).
    bool write(std::string_view bytes, std::string& error);
    // Gives the written file the target's name. replace: an existing target is replaced;
    // otherwise an existing target is kept and the commit fails. The temporary file is gone
    // afterwards either way.
    bool commit(bool replace, std::string& error);
    // Removes the temporary file; the target is untouched.
    void discard();

  private:
    int fd_ = -1;
    std::string target_, temporary_;
};

// Writes all of bytes to fd; false with the errno in error when it cannot (a full disk gives
// ENOSPC, a reader that has gone EPIPE).
bool WriteAll(int fd, std::string_view bytes, int& error);

// A folder of the program's own under the system's temporary folder, readable by nobody else;
// "" with the reason in error when none can be made.
std::string MakePrivateFolder(std::string& error);

} // namespace korvel
