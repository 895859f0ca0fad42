// The one pass over a file that its load takes: a large file's second half is read on the
// second core while this thread reads the first half and serves the window.
#include "app/main_form.h"
#include "files/altitude_profile.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"

#include <climits>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>

namespace korvel {

namespace {
// Below this a second thread costs more than it saves.
constexpr std::uintmax_t kSplitFrom = 1 << 20;
// The lines of the second half lie beyond every line this thread counts; their numbers are
// not known.
constexpr long kLineBeyond = LONG_MAX;

// The second half of a large file, read on the other core. Held apart from what the first
// half's thread writes at every line: cores that share a cache line slow each other down.
class SecondHalf {
  public:
    ~SecondHalf() { finish(); }

    // Starts reading at the first line from offset; where that line begins, or LLONG_MAX when
    // no thread can be had (the first half's thread then reads the whole file).
    template <class Look> long long start(const std::string& path, long long offset, Look look) {
        if (!lines_.openAtLineFrom(path, offset))
            return LLONG_MAX;
        long long begin = lines_.position();
        try {
            // Its altitudes are all read: an Escape meanwhile drops them at the end.
            thread_ = std::thread([this, look] {
                auto mine = std::make_unique<LoadTally>();
                while (!lines_.eof())
                    look(*mine, lines_.nextLine(), kLineBeyond, true);
                tally_ = std::move(*mine);
            });
        } catch (const std::system_error&) {
            return LLONG_MAX;
        }
        return begin;
    }
    bool started() const { return thread_.joinable(); }
    // Waits for the reading to end; what it read.
    LoadTally& finish() {
        if (thread_.joinable())
            thread_.join();
        return tally_;
    }

  private:
    LineReader lines_;
    std::thread thread_;
    LoadTally tally_;
};

} // namespace

LoadTally MainForm::tallyReplayFile(long counted, bool track) {
    // What a line is looked at with is copied: the window's events, served meanwhile, may
    // change the form's state, and the second core is given copies of its own, as cores that
    // share a cache line that one of them writes slow each other down.
    const std::string format = s.trackFormat, marker = s.recordMarker;
    auto look = [format, marker, profileFormat = format.empty() ? "Gardown" : format, counted,
                 track, ozi = track && format == "OziExplorer"](
                    LoadTally& tally, std::string_view line, long lineNumber, bool profile) {
        if (ozi && lineNumber > 6) {
            // Nearly every line of such a track: one look gives what the load needs of it.
            if (std::optional<TrackHeight> height = OziPointHeight(line)) {
                tally.trackPoints += lineNumber > counted;
                if (profile)
                    ProfileTrackHeight(tally.curve, *height);
                return;
            }
        }
        bool point = false;
        if (track) {
            point = IsTrackRecord(format, line, lineNumber, marker);
            if (lineNumber > counted) {
                tally.trackPoints += point;
                tally.segmentLines = tally.segmentLines || line.starts_with('N');
            }
        } else if (lineNumber > counted) {
            tally.logLine(SentencesIn(line, {"RMC", "GGA", "VTG"}));
        }
        if (profile)
            ProfileLine(tally.curve, line, point, profileFormat);
    };

    LoadTally tally;
    profileState_ = 1;
    openReplayFile();
    std::string_view line;
    auto readHere = [&](auto more) {
        while (more() && scanLine(line)) {
            look(tally, line, lineNumber_, profileState_ == 1);
            platform_.clock.DoEvents();
        }
    };
    // The lines that decide how the rest is counted (the kind, a track's header) come first.
    readHere([&] { return lineNumber_ < std::max(counted, 6L); });

    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(s.replayFilePath, error);
    auto secondHalf = std::make_unique<SecondHalf>();
    long long end = LLONG_MAX;
    if (!error && size >= kSplitFrom)
        end = secondHalf->start(s.replayFilePath,
                                std::max(replayFile_.position(), static_cast<long long>(size / 2)),
                                look);
    // A stop meanwhile closes the file, which ends this half.
    readHere([&] { return replayFile_.position() < end; });
    if (secondHalf->started()) {
        LoadTally& later = secondHalf->finish();
        // After an Escape only the altitudes up to it are drawn.
        tally.append(later, profileState_ == 1);
    }
    profileState_ = 0;
    closeAllFiles();
    return tally;
}

} // namespace korvel
