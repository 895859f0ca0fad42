#include "form/control.h"

#include <algorithm>

namespace korvel {

void ScrollBar::setValue(int v) {
    value.set(std::clamp(v, std::min(min, max), std::max(min, max)));
}

void ComboBox::clear() {
    items.clear();
    listIndex.reset(-1);
}

std::string ComboBox::text() const {
    int i = listIndex.get();
    return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<size_t>(i)] : "";
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
