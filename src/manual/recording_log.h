// The log that manual mode records positions and texts into: made anew or extended, each
// record reaching the file at once, whole or not at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel {

class RecordingLog {
  public:
    RecordingLog() = default;
    RecordingLog(const RecordingLog&) = delete;
    RecordingLog& operator=(const RecordingLog&) = delete;
    ~RecordingLog() { close(); }

    // Opens the log at path, emptied (overwrite) or to be extended; false with why in error.
    bool open(const std::string& path, bool overwrite, std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    void close();
    const std::string& path() const { return path_; }

    struct Failure {
        std::string why;
        bool takenOut = false; // the record is out again; else the log ends cut short
    };
    // Appends the lines of one record, each with CR LF. When they do not fit, the record is
    // taken out again where it can be, and the log is closed.
    std::optional<Failure> write(const std::vector<std::string>& lines);

  private:
    int fd_ = -1;
    std::string path_;
};

} // namespace korvel
