#include "app/profile_file.h"

#include "files/pending_file.h"
#include "text/conversions.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string valueOf(const std::string& line) {
    return line.substr(line.find('=') + 1);
}

} // namespace

ProfileFile ProfileFile::load(const std::string& path) {
    std::string error;
    return read(path, error).value_or(ProfileFile{});
}

std::optional<ProfileFile> ProfileFile::read(const std::string& path, std::string& error) {
    // Without waiting: a FIFO or a device is refused, not read.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT)
        return ProfileFile{};
    struct stat status {};
    if (fd >= 0 && (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(fd);
        error = path + ": it is not a regular file";
        return std::nullopt;
    }
    // A settings file is a few hundred bytes: one that outgrows any is no settings file, also
    // when it grows while it is read.
    std::string text;
    char buffer[4096];
    ssize_t n = fd < 0 ? -1 : 0;
    while (fd >= 0 && text.size() <= kLargest &&
           ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        text.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    int failure = errno;
    if (fd >= 0)
        ::close(fd);
    if (text.size() > kLargest) {
        error = path + ": it is larger than " + std::to_string(kLargest >> 20) + " MiB";
        return std::nullopt;
    }
    if (n == 0)
        return parse(text);
    error = path + ": " + std::strerror(failure);
    return std::nullopt;
}

ProfileFile ProfileFile::parse(const std::string& text) {
    ProfileFile profile;
    profile.sections_.push_back({});
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            profile.sections_.push_back({Trim(trimmed.substr(1, trimmed.size() - 2)), {}});
            profile.sections_.back().lines.push_back({line, std::nullopt});
            continue;
        }
        size_t eq = line.find('=');
        std::optional<std::string> key;
        if (eq != std::string::npos && profile.sections_.size() > 1)
            key = Trim(line.substr(0, eq));
        profile.sections_.back().lines.push_back({line, key});
    }
    return profile;
}

const ProfileFile::Line* ProfileFile::find(const std::string& section,
                                           const std::string& key) const {
    for (size_t s = 1; s < sections_.size(); ++s) {
        if (!sameName(sections_[s].name, section))
            continue;
        for (const Line& line : sections_[s].lines)
            if (line.key && sameName(*line.key, key))
                return &line;
    }
    return nullptr;
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    const Line* line = find(section, key);
    return line ? Trim(valueOf(line->text)) : fallback;
}

long ProfileFile::readInt(const std::string& section, const std::string& key, long fallback) const {
    const Line* line = find(section, key);
    if (!line)
        return fallback;
    double value = std::trunc(Val(valueOf(line->text)));
    return static_cast<long>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

ProfileFile::Section& ProfileFile::sectionFor(const std::string& name) {
    if (sections_.empty())
        sections_.push_back({});
    for (size_t s = 1; s < sections_.size(); ++s)
        if (sameName(sections_[s].name, name))
            return sections_[s];
    sections_.push_back({name, {{"[" + name + "]", std::nullopt}}});
    return sections_.back();
}

void ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) {
    if (Line* line = const_cast<Line*>(find(section, key))) {
        line->text = *line->key + "=" + value;
        return;
    }
    Section& target = sectionFor(section);
    // A new key goes after the section's last key, ahead of any blank lines that follow it.
    auto at = target.lines.end();
    while (at != target.lines.begin() + 1 && Trim(std::prev(at)->text).empty())
        --at;
    target.lines.insert(at, {key + "=" + value, key});
}

void ProfileFile::writeInt(const std::string& section, const std::string& key, long value) {
    writeString(section, key, Str(static_cast<double>(value)));
}

std::string ProfileFile::text() const {
    std::string out;
    for (const Section& section : sections_)
        for (const Line& line : section.lines)
            out += line.text + "\n";
    return out;
}

bool ProfileFile::save(const std::string& path, std::string& error) const {
    PendingFile file;
    return file.create(path, error) && file.write(text(), error) && file.commit(true, error);
}

} // namespace korvel
