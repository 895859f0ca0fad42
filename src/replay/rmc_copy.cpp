#include "replay/rmc_copy.h"

#include "files/pending_file.h"
#include "replay/log_calendar.h"
#include "replay/receiver_sentences.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace korvel {

std::optional<std::string> RmcCopy::write(const std::string& logPath, RecordSource& source,
                                          bool withoutVtg, std::chrono::sys_days today,
                                          const SentenceStyle& style) {
    namespace fs = std::filesystem;
    // The copy lives in a folder of its own, so that it never takes the name of a file of the
    // user's, never truncates the log it reads, and works beside a read-only log too. It keeps
    // the name the log would give it: tour.log gives tour.RMC.
    std::string name = fs::path(logPath).filename().string();
    std::string stem = name.substr(0, name.find('.'));
    remove();
    std::string error;
    std::string folder = MakePrivateFolder(error);
    std::string copy = folder.empty() ? "" : folder + "/" + stem + ".RMC";
    std::FILE* out = copy.empty() ? nullptr : std::fopen(copy.c_str(), "wbx");
    bool written = out != nullptr;
    std::string speed, course;
    LogCalendar calendar{today};
    auto copyLine = [&](const std::string& line) {
        calendar.take(line);
        std::string text;
        // Time and position are found by their commas, whatever the time's decimals; with VTG,
        // from the first speed on. A GGA without a fix gives an RMC that says so.
        if ((withoutVtg || !speed.empty()) && ContainsSentence(line, "GGA")) {
            std::string quality = ExtractField(line, 6);
            bool fix = !quality.empty() && quality != "0" && !ExtractField(line, 2).empty();
            std::string body =
                style.talker + "RMC," + ExtractField(line, 1) + (fix ? ",A," : ",V,");
            for (int field = 2; field <= 5; ++field)
                body += ExtractField(line, field) + ",";
            text = FrameSentence(body + speed + "," + course + "," + calendar.ddmmyy() +
                                 ",000.6,E" + std::string(RmcModeFields(style.nmeaVersion, fix))) +
                   "\r\n";
        }
        if (ContainsSentence(line, "VTG")) {
            speed = ExtractField(line, 5);
            course = ExtractField(line, 1);
        }
        text += line + "\r\n";
        written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    };
    // The first lines wait for a ZDA that dates them; today dates a log that says no date.
    constexpr size_t kLinesBeforeADate = 1000;
    std::vector<std::string> held;
    auto copyHeld = [&] {
        calendar = LogCalendar(LogCalendar::FirstDay(held, calendar.day()));
        for (size_t i = 0; written && i < held.size(); ++i)
            copyLine(held[i]);
        held.clear();
    };
    bool dated = false;
    for (std::string line; written && source.readLine(line);) {
        // A data logger's time stamp before a sentence is no part of the copy.
        if (size_t at = FirstSentenceAt(line); at != std::string::npos)
            line.erase(0, at);
        if (dated) {
            copyLine(line);
            continue;
        }
        held.push_back(line);
        if ((dated = IsSentence(line, "ZDA") || held.size() >= kLinesBeforeADate))
            copyHeld();
    }
    if (!dated)
        copyHeld();
    written = out && std::fclose(out) == 0 && written;
    if (!written && error.empty())
        error = std::strerror(errno);
    path_ = copy;
    if (!written) {
        remove();
        return "The completed copy " + stem + ".RMC cannot be written" +
               (error.empty() ? "." : ": " + error);
    }
    return std::nullopt;
}

void RmcCopy::remove() {
    if (path_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    std::filesystem::remove(std::filesystem::path(path_).parent_path(), ec);
    path_.clear();
}

} // namespace korvel
