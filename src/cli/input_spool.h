// A log read from standard input as it arrives, kept in a file that the replay reads as it
// reads any log. The file holds whole lines only (the last one once the input has ended), and
// tells how many of them start with an RMC sentence: a record is there to its end once the RMC
// of the record after it is.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

class InputSpool {
  public:
    explicit InputSpool(int input);
    ~InputSpool();
    InputSpool(const InputSpool&) = delete;
    InputSpool& operator=(const InputSpool&) = delete;

    // Makes the file in a private temporary folder; false with the reason when it cannot.
    bool open(std::string& error);
    const std::string& path() const { return path_; }
    // Takes what the input holds, waiting up to waitMs for something to arrive. False when the
    // input cannot be read or the file cannot take it (error() says why); the input's end is
    // ended().
    bool take(int waitMs);
    bool ended() const { return ended_; }
    // How many lines starting with an RMC sentence the file holds.
    long rmcLines() const { return rmcLines_; }
    const std::string& error() const { return error_; }

  private:
    // False (error() says why) when the opening of the input is not lines of text.
    bool openingIsText(std::string_view bytes);
    bool writeWholeLines();
    // Writes the first length bytes pending to the file; drop forgets them unwritten.
    bool write(size_t length);
    void drop(size_t length);

    int input_, file_ = -1;
    std::string folder_, path_, error_;
    std::string pending_;  // the bytes after the last line written
    size_t scanned_ = 0;   // how far pending_ has been looked at for line endings
    size_t lineStart_ = 0; // where in pending_ the line being looked at starts
    long rmcLines_ = 0;
    int openingLines_ = 0;
    size_t openingBytes_ = 0;
    bool ended_ = false;
    bool inJunk_ = false; // within a line too long to be a sentence, dropped to its end
};

} // namespace korvel
