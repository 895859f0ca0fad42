// Recording positions and texts into a log in "Tracks" that the replay plays back.
#include "form/main_form.h"
#include "form/manual_presenter.h"
#include "replay/sentence.h"
#include "replay/text_sentences.h"
#include "text/conversions.h"

#include <cmath>
#include <filesystem>

namespace korvel {

namespace {

std::string hhmmss(long secondsOfDay) {
    long t = (secondsOfDay % 86400 + 86400) % 86400;
    return Format(t / 3600, "00") + Format(t / 60 % 60, "00") + Format(t % 60, "00");
}

std::string upToStar(const std::string& text) {
    return text.substr(0, text.find('*'));
}

} // namespace

void ManualPresenter::record(const std::vector<std::string>& lines) {
    std::optional<RecordingLog::Failure> failure = recording_.write(lines);
    if (!failure)
        return;
    form.closeAllFiles();
    c.SaveP.enabled = c.SaveT.enabled = false;
    platform.dialogs.messageBox("The log " + recording_.path() + " cannot be written (" +
                                    failure->why + "): the last record is " +
                                    (failure->takenOut ? "not in it." : "cut short at its end."),
                                "Recording", MessageIcon::Critical, MessageButtons::Ok);
}

void ManualPresenter::SetFN_Click() {
    std::string selected = c.File1.fileName();
    if (lastRecordName_.empty() && selected.size() > 4 && Right(selected, 4) == ".log")
        lastRecordName_ = selected.substr(0, selected.find('.'));
    std::optional<std::string> answer = platform.dialogs.inputBox(
        "\nFilename without extension: ", "  Set Filename", lastRecordName_);
    std::string name = answer.value_or("");
    lastRecordName_ = name;
    c.focus = "HSc1(3)";
    if (name.empty()) {
        c.SaveT.enabled = false;
        return;
    }
    // A name is a name, not a path out of the tracks folder.
    if (name.find('/') != std::string::npos || name.find("..") != std::string::npos) {
        c.SaveT.enabled = false;
        platform.dialogs.messageBox("The file name must not contain \"/\" or \"..\".",
                                    "  Set Filename", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    std::string path = s.programFolder + "Tracks/" + name + ".log";
    bool overwrite = true;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        MessageAnswer choice = platform.dialogs.messageBox(
            "Filename already exist ! - Overwrite File ?\n\n Yes/Ja   = Overwrite\n No/Nein = "
            "Extend File",
            " " + name, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (choice == MessageAnswer::Cancel) {
            c.SaveT.enabled = false;
            return;
        }
        overwrite = choice == MessageAnswer::Yes;
    }
    form.closeAllFiles();
    std::string error;
    if (!recording_.open(path, overwrite, error)) {
        // A log that cannot be created is reported, and nothing is recorded.
        c.SaveP.enabled = c.SaveT.enabled = false;
        platform.dialogs.messageBox("The log " + path + " cannot be created: " + error,
                                    "  Set Filename", MessageIcon::Critical, MessageButtons::Ok);
        return;
    }
    if (overwrite && c.AutoM.caption != "-")
        c.AutoM.caption = "*"; // a fresh log: no intermediate points before its first point
    c.FileL.caption = name;
    // The log lies in the program's tracks folder, whatever folder the list shows: said where.
    c.FileL.toolTip = "Recording into " + path;
    if (!c.Skip1.enabled)
        c.SaveP.enabled = c.SaveT.enabled = true;
}

std::string ManualPresenter::FormatDegreesMinutes(double signedMinutes) const {
    double minutes = std::fabs(signedMinutes);
    double degrees = Int(minutes / 60);
    double rest = (minutes / 60 - degrees) * 60 + stream_.moved / 10000.0;
    std::string text = Format(degrees, "000") + Format(rest, "00.0000");
    text[5] = '.';
    return text;
}

void ManualPresenter::SaveP_Click() {
    c.SaveP.backColor = 0xFFFFFF;
    if (c.SaveP.enabled && recording_.isOpen()) {
        std::string& rmc = s.latest.rmc;
        std::string& gga = s.latest.gga;
        if (rmc.size() >= 44)
            rmc.replace(41, 3, Format(Int(stream_.position.kmh / 1.852 + 0.5), "000"));
        double step = Val(c.AutoM.caption);
        long points =
            step != 0 ? static_cast<long>(stream_.lastLegDistance) / static_cast<long>(step) : 0;
        std::vector<std::string> lines;
        if (points != 0) {
            double dLat = (stream_.startLat - stream_.currentLat) / points;
            double dLon = (stream_.startLon - stream_.currentLon) / points;
            stream_.moved = 0;
            for (long i = points - 1; stream_.started() && i >= 1; --i) {
                stream_.moved ^= 1;
                double latMinutes = stream_.currentLat + i * dLat;
                double lonMinutes = stream_.currentLon + i * dLon;
                std::string lat = FormatDegreesMinutes(latMinutes);
                std::string lon = FormatDegreesMinutes(lonMinutes);
                recordTime_ += 2;
                std::string t = hhmmss(recordTime_);
                // Each point in its own hemispheres: the leg may cross the equator or a meridian.
                std::string point = FrameSentence(
                    Mid(rmc, 2, 6) + t + ",A," + Mid(lat, 2) + (latMinutes < 0 ? ",S," : ",N,") +
                    lon + (lonMinutes < 0 ? ",W" : ",E") + upToStar(Mid(rmc, 41)));
                lines.push_back(point);
                lines.push_back(FrameSentence(Mid(gga, 2, 6) + t + "," + Mid(point, 17, 22) +
                                              upToStar(Mid(gga, 37))));
            }
        }
        if (c.AutoM.caption == "*")
            VSc4_Change();
        recordTime_ += 2;
        std::string t = hhmmss(recordTime_);
        lines.push_back(FrameSentence("GPRMC," + t + upToStar(Mid(rmc, 14))));
        lines.push_back(FrameSentence("GPGGA," + t + upToStar(Mid(gga, 14))));
        record(lines);
    }
    c.focus = "HSc1(3)";
    platform.dialogs.beep();
    stream_.startLat = stream_.currentLat;
    stream_.startLon = stream_.currentLon;
    c.FlashEnds.setEnabled(true);
}

void ManualPresenter::SaveT_Click() {
    std::string text = platform.dialogs.inputBox("\n Text :", "  ", "").value_or("");
    c.focus = "HSc1(3)";
    if (text.empty())
        return;
    if (text == " ") {
        record({" "});
        return;
    }
    const std::string& r = s.latest.rmc;
    std::string lat = Mid(r, 17, 2) + "." + Format(Val(Mid(r, 19, 7)) / 6 * 10000, "00000");
    std::string lon = Mid(r, 29, 3) + "." + Format(Val(Mid(r, 32, 7)) / 6 * 10000, "00000");
    s.latest.text =
        lat + "," + Mid(r, 27, 1) + "," + lon + "," + Mid(r, 40, 1) + ",\"" + text + "\"";
    // In the file, valid TXT sentences that a replay sends on and shows: the position and the
    // text in their text field.
    record(TextSentences(lat + " " + Mid(r, 27, 1) + " " + lon + " " + Mid(r, 40, 1) + " \"" +
                         text + "\""));
    platform.dialogs.beep();
}

} // namespace korvel
