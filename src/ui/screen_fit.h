// The window on a small screen: its controls in a scrolling area, so that the window may be
// smaller than they need (a large font, a scaled desktop), and the window kept inside the
// screen with its frame and title bar.
#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

namespace korvel {

// content inside an area that scrolls only where the window is smaller than content needs.
QScrollArea* ScrollingArea(QWidget* content);

// Sizes the window as its controls want, or as saved when it is not empty, but never larger
// than the screen it opens on leaves for it; once framed, its frame inside that screen too.
void FitOnScreen(QWidget& window, QSize wanted, QSize saved);

} // namespace korvel
