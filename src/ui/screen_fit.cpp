#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>

namespace korvel {

namespace {

// What a frame and title bar take before the window manager has said (a usual title bar).
constexpr int kFrameGuessWidth = 10, kFrameGuessHeight = 40;

QRect screenArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The window as large as wanted, no larger than the screen leaves beside the frame.
QSize bounded(QSize wanted, QSize frame, const QRect& area) {
    return wanted.boundedTo(QSize(area.width() - frame.width(), area.height() - frame.height()));
}

} // namespace

QScrollArea* ScrollingArea(QWidget* content) {
    auto* area = new QScrollArea;
    area->setObjectName("Scrolling");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

void FitOnScreen(QWidget& window, QSize wanted, QSize saved) {
    QRect area = screenArea(window);
    if (!saved.isEmpty())
        wanted = saved;
    if (area.isEmpty()) {
        window.resize(wanted);
        return;
    }
    window.resize(bounded(wanted, QSize(kFrameGuessWidth, kFrameGuessHeight), area));
    // Once the window manager has framed it, the frame it really drew: the window shrinks and
    // moves until frame and title bar are inside the screen.
    QTimer::singleShot(300, &window, [&window] {
        QRect area = screenArea(window);
        QRect frame = window.frameGeometry();
        if (area.isEmpty() || area.contains(frame))
            return;
        QSize margins = frame.size() - window.size();
        window.resize(bounded(window.size(), margins, area));
        QRect moved(frame.topLeft(), window.size() + margins);
        moved.moveRight(std::min(moved.right(), area.right()));
        moved.moveBottom(std::min(moved.bottom(), area.bottom()));
        moved.moveLeft(std::max(moved.left(), area.left()));
        moved.moveTop(std::max(moved.top(), area.top()));
        window.move(moved.topLeft());
    });
}

} // namespace korvel
