// A log with GGA and VTG but no RMC replays through a copy that has an RMC before each GGA,
// made from the GGA and the latest VTG.
#include "app/main_form.h"
#include "files/pending_file.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace korvel {

bool MainForm::BuildRmcCopy() {
    namespace fs = std::filesystem;
    // The copy lives in a folder of its own, so that it never takes the name of a file of the
    // user's, never truncates the log it reads, and works beside a read-only log too. It keeps
    // the name the log would give it: tour.log gives tour.RMC.
    std::string name = fs::path(engine_.path).filename().string();
    removeRmcCopy();
    std::string error;
    std::string folder = MakePrivateFolder(error);
    std::string copy = folder.empty() ? "" : folder + "/" + name.substr(0, name.find('.')) + ".RMC";
    LocalDateTime today = platform_.clock.now();
    std::string date =
        Format(today.day, "00") + Format(today.month, "00") + Right(Format(today.year, "0000"), 2);

    std::FILE* out = copy.empty() ? nullptr : std::fopen(copy.c_str(), "wbx");
    bool written = out && openReplayFile();
    std::string speed, course;
    // Without any VTG every GGA gets its RMC, with empty speed and course; with VTG, from the
    // first speed on.
    bool withoutVtg = engine_.logWithoutVtg;
    std::string line;
    while (written && engine_.source().readLine(line)) {
        std::string text;
        // Time and position are found by their commas, whatever the time's decimals.
        if ((withoutVtg || !speed.empty()) && ContainsSentence(line, "GGA")) {
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
    if (!written && error.empty())
        error = std::strerror(errno);
    closeAllFiles();
    rmcCopyPath_ = copy;
    if (!written) {
        removeRmcCopy();
        platform_.dialogs.messageBox("The completed copy " + name.substr(0, name.find('.')) +
                                         ".RMC cannot be written" +
                                         (error.empty() ? "." : ": " + error),
                                     " Data-Error !", MessageIcon::Critical, MessageButtons::Ok);
        return false;
    }
    engine_.path = copy;
    return true;
}

void MainForm::removeRmcCopy() {
    if (rmcCopyPath_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(rmcCopyPath_, ec);
    std::filesystem::remove(std::filesystem::path(rmcCopyPath_).parent_path(), ec);
    rmcCopyPath_.clear();
}

} // namespace korvel
