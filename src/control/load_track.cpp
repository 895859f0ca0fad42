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
        refuseLoad({"Unknown Track-Format !", why});
        return false;
    };
    // The format, told by the first lines, decides what a point is; one pass counts the
    // points and reads their altitudes.
    if (engine_.trackFormat.empty())
        return refuse("Its points are in a layout Korvel cannot read.");
    LoadTally tally = tallyFile(0);
    engine_.count = tally.trackPoints;
    if (engine_.count == 0)
        return refuse("The " + engine_.trackFormat + " file holds no track point Korvel can read.");
    if (tally.segmentLines)
        c.AutoSkip.enabled = true;
    DrawAltitudeProfile(tally.curve);
    c.StopA.visible = true;
    return openReplayFile();
}

} // namespace korvel
