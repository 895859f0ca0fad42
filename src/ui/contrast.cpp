#include "ui/contrast.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// How light a colour looks, 0 (black) to 1 (white).
double luminance(const QColor& color) {
    auto linear = [](int value) {
        double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) +
           0.0722 * linear(color.blue());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Mix(const QColor& from, const QColor& to, double share) {
    auto part = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(part(from.red(), to.red()), part(from.green(), to.green()),
                  part(from.blue(), to.blue()));
}

QColor Readable(QColor text, const QColor& back, double ratio) {
    QColor end =
        ContrastRatio(Qt::black, back) >= ContrastRatio(Qt::white, back) ? Qt::black : Qt::white;
    for (double share = 0.1; ContrastRatio(text, back) < ratio && share <= 1.0; share += 0.1)
        text = Mix(text, end, share);
    return text;
}

} // namespace korvel
