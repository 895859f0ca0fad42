// The replay file as the replay reads it: its lines one at a time (a markup track's chunks), and
// for a track file its points, through the reader of its format.
#pragma once

#include "replay/formats/track_reader.h"
#include "text/line_reader.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class RecordSource {
  public:
    // Opens path at its first line; false when it cannot be opened. trackFormat: the format
    // whose reader gives the points of a track file, "" for a log. keepTexts: each point keeps
    // what the message list shows of it.
    bool open(const std::string& path, const std::string& trackFormat, bool keepTexts);
    void close() { file_.close(); }
    // The next line (or chunk), valid until the next is read; false at the end of the file.
    bool scanLine(std::string_view& line);
    // The same, copied into line.
    bool readLine(std::string& line);
    // Of the line last read, counted from 1 at the file's start.
    long lineNumber() const { return lineNumber_; }
    // The reader of its lines, for a pass that takes them a block at a time: the line numbers
    // stand still meanwhile.
    LineReader& lines() { return file_; }
    // The offset in the file of the next line.
    long long position() const { return file_.position(); }

    // The next point of a track, read as far as it takes; none at the file's end. Valid until
    // the next point is asked for.
    const TrackPoint* peekPoint();
    const TrackPoint* takePoint();
    // The newest points of a track that may still be growing: those of its last line, read as
    // a line of its own, or from the whole file where a point depends on the lines before it.
    std::vector<TrackPoint> newestPoints();
    // The name the track file gives its track, as far as it has been read; kept when the file
    // is opened again, forgotten for another.
    const std::string& trackName() const { return trackName_; }
    void forgetTrackName() { trackName_.clear(); }

  private:
    LineReader file_;
    std::string path_, format_;
    long lineNumber_ = 0;
    std::unique_ptr<TrackReader> reader_;
    bool chunked_ = false;           // the reader takes the file in chunks, not lines
    std::vector<TrackPoint> points_; // read, from next_ on not yet taken
    size_t next_ = 0;
    std::string trackName_;
};

} // namespace korvel
