#include "form/control.h"

#include "text/wildcard.h"

#include <algorithm>
#include <filesystem>

namespace korvel {

void ScrollBar::setValue(int v) {
    value.set(std::clamp(v, std::min(min, max), std::max(min, max)));
}

void ComboBox::keepFirst(size_t n) {
    items.resize(std::min(n, items.size()));
    labels.resize(items.size());
    hidden.resize(items.size());
}

void ComboBox::clear() {
    items.clear();
    labels.clear();
    hidden.clear();
    listIndex.reset(-1);
}

void FileListBox::setPath(std::string path) {
    path_ = std::move(path);
    refresh();
}

void FileListBox::setPattern(std::string pattern) {
    pattern_ = std::move(pattern);
    refresh();
}

void FileListBox::refresh() {
    std::string selected = fileName();
    items.clear();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path_.empty() ? "." : path_, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && MatchesPattern(name, pattern_))
            items.push_back(std::move(name));
    }
    std::sort(items.begin(), items.end());
    auto found = std::find(items.begin(), items.end(), selected);
    listIndex = found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

void FileListBox::showOnly(std::string name) {
    pattern_ = name;
    items = {std::move(name)};
    listIndex = 0;
}

std::string FileListBox::fileName() const {
    return listIndex >= 0 && listIndex < static_cast<int>(items.size())
               ? items[static_cast<size_t>(listIndex)]
               : "";
}

void DirListBox::refresh() {
    items.clear();
    std::error_code ec;
    std::filesystem::path folder(path.get());
    if (folder.has_relative_path())
        items.push_back("..");
    std::vector<std::string> subfolders;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
        if (it->is_directory(ec))
            subfolders.push_back(it->path().filename().string());
    std::sort(subfolders.begin(), subfolders.end());
    items.insert(items.end(), subfolders.begin(), subfolders.end());
}

std::string DirListBox::folderOf(const std::string& item) const {
    std::filesystem::path folder(path.get());
    return (item == ".." ? folder.parent_path() : folder / item).string();
}

void Timer::setEnabled(bool on) {
    enabled_ = on;
    if (onChanged)
        onChanged();
}

void Timer::setInterval(int ms) {
    interval_ = std::max(0, ms);
    if (onChanged)
        onChanged();
}

} // namespace korvel
