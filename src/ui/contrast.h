// How well text reads on its background, as the usual accessibility rules measure it.
#pragma once

#include <QColor>

namespace korvel {

// 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// from moved share of the way to to.
QColor Mix(const QColor& from, const QColor& to, double share);
// The text colour moved toward black or white, whichever the background sets it off from,
// until it reads at the ratio asked for.
QColor Readable(QColor text, const QColor& back, double ratio);

} // namespace korvel
