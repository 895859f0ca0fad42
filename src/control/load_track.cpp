// Loading a track file whose format the first lines told: count its points, and read its
// points for the replay through the format's reader.
#include "app/main_form.h"
#include "replay/formats/track_formats.h"

namespace korvel {

bool MainForm::loadTrackFile() {
    c.AutoSkip.value.reset(0);
    c.AutoSkip.enabled = false;
    c.AutoL.visible = false;
    c.Data[3].enabled = c.Data[4].enabled = c.Data[5].enabled = false;
    auto refuse = [this](const std::string& why) {
        c.List1.addItem("Unknown Track-Format !");
        c.List1.addItem(why);
        StopReplay(StopReason::StopKeepingMessages);
        return false;
    };
    // The format, told by the first lines, decides what a point is; one pass counts the
    // points and reads their altitudes.
    if (s.trackFormat.empty())
        return refuse("Its points are in a layout Korvel cannot read.");
    LoadTally tally = tallyReplayFile(0, true);
    s.recordCount = tally.trackPoints;
    if (s.recordCount == 0)
        return refuse("The " + s.trackFormat + " file holds no track point Korvel can read.");
    if (tally.segmentLines)
        c.AutoSkip.enabled = true;
    DrawAltitudeProfile(tally.curve);
    c.StopA.visible = true;
    return openReplayFile();
}

std::vector<TrackPoint> MainForm::lastTrackPoints() {
    std::unique_ptr<TrackReader> reader = MakeTrackReader(s.trackFormat);
    std::vector<TrackPoint> last, read;
    if (!reader || !replayFile_.open(s.replayFilePath))
        return last;
    reader->readFrom(s.replayFilePath);
    while (!replayFile_.eof()) {
        read.clear();
        reader->read(reader->readsChunks() ? replayFile_.nextChunk() : replayFile_.nextLine(),
                     read);
        if (!read.empty())
            last.swap(read);
    }
    return last;
}

const TrackPoint* MainForm::peekTrackPoint() {
    while (nextPoint_ == trackPoints_.size()) {
        trackPoints_.clear();
        nextPoint_ = 0;
        std::string_view line;
        if (!trackReader_ || !scanLine(line))
            return nullptr;
        trackReader_->read(line, trackPoints_);
        if (!trackReader_->trackName().empty())
            s.trackName = trackReader_->trackName();
    }
    return &trackPoints_[nextPoint_];
}

const TrackPoint* MainForm::takeTrackPoint() {
    const TrackPoint* point = peekTrackPoint();
    if (point)
        ++nextPoint_;
    return point;
}

} // namespace korvel
