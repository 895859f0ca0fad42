// The one pass over a file that its load takes: a large file is read from both ends at once,
// this thread from the front, asking its caller to serve events, the second core from the back.
#include "files/altitude_profile.h"
#include "replay/formats/track_formats.h"
#include "replay/other_core.h"
#include "replay/replay_engine.h"
#include "replay/sentence_type.h"
#include "text/line_reader.h"
#include "text/line_sweep.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace korvel {

namespace {
// Below this a second thread costs more than it saves.
constexpr std::uintmax_t kSplitFrom = 1 << 20;
// The file is cut into stretches of at least this size, and no more than kMostStretches.
constexpr long long kLeastStretch = 256 << 10;
constexpr long long kMostStretches = 32;
// The lines the second core reads lie beyond every line this thread counts; their numbers
// are not known.
constexpr long kLineBeyond = LONG_MAX;

// What each line is looked at with. Each core has its own: cores that share a cache line
// that one of them writes slow each other down. A track's points are read by the reader of its
// format; the lines of a log up to `counted` are counted already.
class LineLook {
  public:
    LineLook(long counted, TrackReader* reader) : counted_(counted), reader_(reader) {}
    LineLook(const LineLook& other, TrackReader* reader) : LineLook(other.counted_, reader) {}

    void operator()(LoadTally& tally, std::string_view line, long lineNumber, bool profile) {
        if (!reader_) {
            if (lineNumber > counted_) {
                tally.logLine(SentencesIn(line, {"RMC", "GGA", "VTG"}));
                tally.checkLine(line);
            }
            if (profile)
                ProfileLogLine(tally.curve, line);
            return;
        }
        heights_.clear();
        reader_->readHeights(line, heights_);
        for (const TrackHeight& height : heights_) {
            tally.trackPoints += height.point;
            tally.segmentLines = tally.segmentLines || height.newSegment;
            if (profile)
                ProfileTrackHeight(tally.curve, height);
        }
    }
    // Whether the lines' sweep is to survey them: a log's is.
    bool surveys() const { return !reader_; }
    // A line found by the sweep, after every counted one.
    void operator()(LoadTally& tally, std::string_view line, const LineSurvey& survey,
                    bool profile) {
        if (reader_ || !tally.sweptLogLine(line, survey))
            return (*this)(tally, line, kLineBeyond, profile);
        // Only a GGA has an altitude.
        if (profile && line.substr(3, 4) == "GGA,")
            ProfileGga(tally.curve, line);
    }

  private:
    long counted_;
    TrackReader* reader_;
    std::vector<TrackHeight> heights_;
};

// Reads on, one block of the file at a time, the lines that begin before end: those the sweep
// finds whole, then one that runs on into the next block. False once none is left, or the
// file is closed.
bool ReadBlock(LineReader& lines, long long end, LineLook& look, LoadTally& tally, bool profile) {
    if (lines.position() >= end)
        return false;
    std::string_view block = lines.buffered();
    if (block.empty())
        return false;
    size_t stopAt =
        static_cast<size_t>(std::min(end - lines.position(), static_cast<long long>(block.size())));
    auto each = [&](std::string_view line, const LineSurvey& survey) {
        look(tally, line, survey, profile);
    };
    size_t taken = look.surveys() ? SweepLines<true>(block, stopAt, each)
                                  : SweepLines<false>(block, stopAt, each);
    lines.skip(taken);
    if (taken < stopAt)
        look(tally, lines.nextLine(), kLineBeyond, profile);
    return true;
}

// The stretches of a file between a start and its end. This thread takes them from the front
// and the second core from the back, one at a time, until they meet: where they meet follows
// from how fast each core is given to go, which on a shared machine changes from moment to
// moment. What the second core writes at every line (its reader of lines, what it looks at a
// line with, the tally of its stretch) lies on its own stack, apart from anything this thread
// writes: cores that share a cache line slow each other down, by as much as half the load.
class Stretches {
  public:
    Stretches(long long from, long long size)
        : from_(from), size_(size),
          count_(std::clamp((size - from) / kLeastStretch, 2LL, kMostStretches)), back_(count_),
          tallies_(static_cast<size_t>(count_)) {}
    ~Stretches() { join(); }

    // Starts the second core on the stretches from the back, a track's with its own reader;
    // false when no thread can be had.
    bool start(const std::string& path, const LineLook& shared,
               std::unique_ptr<TrackReader> reader) {
        try {
            // The reader's points stay where they are when it moves.
            thread_ = std::thread([this, path, look = LineLook(shared, reader.get()),
                                   reader = std::move(reader)]() mutable {
                LineReader lines;
                for (long long i; (i = claimBack()) >= 0;) {
                    // Its altitudes are all read: an Escape meanwhile drops them at the end.
                    LoadTally tally;
                    if (!lines.openAtLineFrom(path, begin(i))) {
                        giveBack();
                        break;
                    }
                    while (ReadBlock(lines, begin(i + 1), look, tally, true)) {
                    }
                    tallies_[static_cast<size_t>(i)] = std::move(tally);
                }
            });
            MoveToAnotherCore(thread_);
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }
    // Where this thread's part ends: the start of the stretch after its last.
    long long frontEnd() const { return begin(front_ + 1); }
    // Takes the next stretch for this thread; false when it is the second core's.
    bool claimFront() {
        std::lock_guard<std::mutex> hold(claims_);
        if (front_ + 1 >= back_)
            return false;
        ++front_;
        return true;
    }
    // Where the stretches the second core read begin, once it is done.
    long long secondCoreFrom() const { return begin(back_); }
    // Waits for the second core, which takes no further stretch; the tallies of its
    // stretches, in the file's order.
    std::vector<LoadTally> finish() {
        join();
        return {std::make_move_iterator(tallies_.begin() + back_),
                std::make_move_iterator(tallies_.end())};
    }

  private:
    // The last stretch runs to the file's end, wherever that lies by then.
    long long begin(long long i) const {
        return i == count_ ? LLONG_MAX : from_ + (size_ - from_) * i / count_;
    }
    long long claimBack() {
        std::lock_guard<std::mutex> hold(claims_);
        return !stopped_ && back_ - 1 > front_ ? --back_ : -1;
    }
    // The stretch last claimed, which the second core cannot read, is left to this thread:
    // when it has met the second core, it reads on up to secondCoreFrom.
    void giveBack() {
        std::lock_guard<std::mutex> hold(claims_);
        ++back_;
    }
    void join() {
        {
            std::lock_guard<std::mutex> hold(claims_);
            stopped_ = true;
        }
        if (thread_.joinable())
            thread_.join();
    }

    const long long from_, size_, count_;
    std::mutex claims_;
    long long front_ = 0, back_; // this thread's last stretch, the second core's first
    bool stopped_ = false;
    std::vector<LoadTally> tallies_;
    std::thread thread_;
};

} // namespace

LoadTally ReplayEngine::tally(long counted, const std::function<bool()>& serve) {
    bool track = kind == FileKind::Track;
    std::unique_ptr<TrackReader> reader = track ? MakeTrackReader(trackFormat) : nullptr;
    // A reader whose points depend on the lines before cannot start in the middle.
    std::unique_ptr<TrackReader> secondReader = reader ? reader->resumed() : nullptr;
    LineLook look(counted, reader.get());

    LoadTally tally;
    bool profile = true; // the altitudes are wanted
    open();
    // The lines that decide how the rest is counted (the kind, a track's header) come first,
    // one at a time; a markup track comes in chunks, all of them so.
    bool chunks = reader && reader->readsChunks();
    std::string_view line;
    while ((chunks || source_.lineNumber() < std::max(counted, 6L)) && source_.scanLine(line)) {
        look(tally, line, source_.lineNumber(), profile);
        profile = serve() && profile;
    }

    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    std::unique_ptr<Stretches> stretches;
    if (!error && size >= kSplitFrom && (!track || secondReader)) {
        stretches = std::make_unique<Stretches>(source_.position(), static_cast<long long>(size));
        if (!stretches->start(path, look, std::move(secondReader)))
            stretches.reset();
    }
    // A stop meanwhile closes the file, which ends this thread's part.
    LineReader& lines = source_.lines();
    auto readTo = [&](long long end) {
        while (ReadBlock(lines, end, look, tally, profile))
            profile = serve() && profile;
    };
    readTo(stretches ? stretches->frontEnd() : LLONG_MAX);
    while (stretches && lines.isOpen() && stretches->claimFront())
        readTo(stretches->frontEnd());
    if (stretches) {
        std::vector<LoadTally> later = stretches->finish();
        // A stretch the second core could not open is read here.
        readTo(stretches->secondCoreFrom());
        // After an Escape only the altitudes up to it are drawn.
        for (const LoadTally& part : later)
            tally.append(part, profile);
    }
    source_.close();
    return tally;
}

} // namespace korvel
