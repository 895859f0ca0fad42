#include "replay/record_source.h"

#include "replay/formats/track_formats.h"

namespace korvel {

bool RecordSource::open(const std::string& path, const std::string& trackFormat, bool keepTexts) {
    path_ = path;
    format_ = trackFormat;
    lineNumber_ = 0;
    // A track file is read again from its first line, by a reader of its own.
    reader_ = MakeTrackReader(trackFormat);
    if (reader_) {
        reader_->keepTexts(keepTexts);
        reader_->readFrom(path);
    }
    chunked_ = reader_ && reader_->readsChunks();
    points_.clear();
    next_ = 0;
    return file_.open(path);
}

bool RecordSource::scanLine(std::string_view& line) {
    if (file_.eof())
        return false;
    line = chunked_ ? file_.nextChunk() : file_.nextLine();
    ++lineNumber_;
    return true;
}

bool RecordSource::readLine(std::string& line) {
    std::string_view read;
    if (!scanLine(read))
        return false;
    line.assign(read);
    return true;
}

const TrackPoint* RecordSource::peekPoint() {
    while (next_ == points_.size()) {
        points_.clear();
        next_ = 0;
        std::string_view line;
        if (!reader_ || !scanLine(line))
            return nullptr;
        reader_->read(line, points_);
        if (!reader_->trackName().empty())
            trackName_ = reader_->trackName();
    }
    return &points_[next_];
}

const TrackPoint* RecordSource::takePoint() {
    const TrackPoint* point = peekPoint();
    if (point)
        ++next_;
    return point;
}

std::vector<TrackPoint> RecordSource::newestPoints() {
    std::vector<TrackPoint> last;
    if (std::unique_ptr<TrackReader> resumed = reader_ ? reader_->resumed() : nullptr) {
        resumed->read(file_.openAtLastLine(path_), last);
        return last;
    }
    std::unique_ptr<TrackReader> reader = MakeTrackReader(format_);
    if (!reader || !file_.open(path_))
        return last;
    reader->readFrom(path_);
    std::vector<TrackPoint> read;
    while (!file_.eof()) {
        read.clear();
        reader->read(reader->readsChunks() ? file_.nextChunk() : file_.nextLine(), read);
        if (!read.empty())
            last.swap(read);
    }
    return last;
}

} // namespace korvel
