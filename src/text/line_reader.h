// Sequential line input over one file of 8-bit text: a line ends at CR LF, LF or a lone CR,
// and the last line may have no ending. A line longer than the cap keeps its first bytes only,
// so a file without line endings cannot exhaust memory.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace korvel {

class LineReader {
  public:
    static constexpr size_t kMaxLine = 64 * 1024;
    // Read from the file at a time: small enough to stay in the core's cache while its lines
    // are looked at.
    static constexpr size_t kBlock = 64 * 1024;
    // A line found whole within a block is within the cap.
    static_assert(kBlock <= kMaxLine);

    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Closes what was open first; false when the file cannot be opened.
    bool open(const std::string& path);
    // The same, standing at the first line that begins at or after byte offset: a stretch of
    // the file can be read apart from the lines before it.
    bool openAtLineFrom(const std::string& path, long long offset);
    // The offset in the file of the next line.
    long long position() const { return blockStart_ + static_cast<long long>(begin_); }
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // True when no further line can be read (also when nothing is open).
    bool eof();
    // Next line without its ending; "" at the end of the file.
    std::string readLine() { return std::string(nextLine()); }
    // The same, valid until the next call: no copy for the lines that lie within one block.
    std::string_view nextLine();
    // The bytes up to and with the next line ending, or up to the end of the block read, for
    // a reader that takes the file as a stream: a document written on one line of any length
    // comes whole, piece by piece.
    std::string_view nextChunk();
    // The bytes read ahead and not yet taken, reading the next block when none are left: a
    // caller that finds whole lines in them itself takes those it found with skip, and the
    // rest (a line that runs on into the next block) with nextLine.
    std::string_view buffered() {
        return fill() ? std::string_view(buffer_.data() + begin_, end_ - begin_)
                      : std::string_view();
    }
    void skip(size_t bytes) { begin_ += bytes; }
    // Opens the file at its end and returns its last line, reading only the file's tail, so
    // that a file another program is still writing can be followed however large it grows.
    std::string openAtLastLine(const std::string& path);

  private:
    // True when a byte is waiting in the buffer, reading the next block if needed.
    bool fill();
    // Where the next line ending lies in the buffer, or end_ when not in it.
    size_t nextEnding();

    std::FILE* file_ = nullptr;
    std::array<char, kBlock> buffer_;
    size_t begin_ = 0, end_ = 0;
    long long blockStart_ = 0; // the offset in the file of the buffer's first byte
    std::string split_;        // a line that runs across blocks
};

} // namespace korvel
