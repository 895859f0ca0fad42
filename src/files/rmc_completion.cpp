// A log with GGA and VTG but no RMC replays through a copy that has an RMC before each GGA,
// made from the GGA and the latest VTG.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <filesystem>

namespace korvel {

bool MainForm::BuildRmcCopy() {
    namespace fs = std::filesystem;
    fs::path input(s.replayFilePath);
    // Mended: the name comes from the file's name, never from a dotted folder above it.
    std::string name = input.filename().string();
    std::string copy = (input.parent_path() / (name.substr(0, name.find('.')) + ".RMC")).string();
    LocalDateTime today = platform_.clock.now();
    std::string date =
        Format(today.day, "00") + Format(today.month, "00") + Right(Format(today.year, "0000"), 2);

    std::FILE* out = std::fopen(copy.c_str(), "wb");
    bool written = out && openReplayFile();
    std::string speed, course;
    while (written && readLine()) {
        const std::string& line = s.currentLine;
        std::string text;
        // Mended: time and position by their commas, whatever the time's decimals.
        if (!speed.empty() && ContainsSentence(line, "GGA")) {
            std::string body = "GPRMC," + ExtractField(line, 1) + ",A,";
            for (int field = 2; field <= 5; ++field)
                body += ExtractField(line, field) + ",";
            text = FrameSentence(body + speed + "," + course + "," + date + ",000.6,E") + "\r\n";
        }
        if (ContainsSentence(line, "VTG")) {
            speed = ExtractField(line, 5);
            course = ExtractField(line, 1);
        }
        text += line + "\r\n";
        written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    }
    written = out && std::fclose(out) == 0 && written;
    closeAllFiles();
    if (!written) {
        std::error_code ec;
        fs::remove(copy, ec);
        platform_.dialogs.messageBox("The completed copy " + copy + " cannot be written.",
                                     " Data-Error !", MessageIcon::Critical, MessageButtons::Ok);
        return false;
    }
    s.replayFilePath = copy;
    rmcCopyPath_ = copy;
    return true;
}

} // namespace korvel
