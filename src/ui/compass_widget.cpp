#include "ui/compass_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace korvel {

namespace {

// The gauge holds the needle's angle from the west point, as the course plus 90 degrees; its
// style is 3 while a replay sets it.
constexpr int kNeedleStyle = 3;

} // namespace

int CompassWidget::needleDegrees() const {
    if (gauge_.style != kNeedleStyle)
        return -1;
    return ((gauge_.value - 90) % 360 + 360) % 360;
}

void CompassWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    double radius = std::min(width(), height()) / 2.0 - 4;
    painter.translate(width() / 2.0, height() / 2.0);
    painter.setPen(QPen(palette().windowText().color(), 1.5));
    painter.setBrush(palette().base());
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    // Ticks every 30 degrees, the cardinal points named.
    static const char* const cardinal[] = {"N", "E", "S", "W"};
    for (int degrees = 0; degrees < 360; degrees += 30) {
        painter.save();
        painter.rotate(degrees);
        painter.drawLine(QPointF(0, -radius), QPointF(0, -radius + (degrees % 90 ? 4 : 8)));
        painter.restore();
        if (degrees % 90 == 0) {
            double a = degrees * M_PI / 180;
            QRectF box(std::sin(a) * (radius - 16) - 8, -std::cos(a) * (radius - 16) - 8, 16, 16);
            painter.drawText(box, Qt::AlignCenter, cardinal[degrees / 90]);
        }
    }
    int course = needleDegrees();
    if (course < 0)
        return;
    painter.rotate(course);
    QPainterPath needle;
    needle.moveTo(0, -radius + 10);
    needle.lineTo(5, 0);
    needle.lineTo(-5, 0);
    needle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 0));
    painter.drawPath(needle);
    painter.setBrush(palette().windowText());
    painter.drawEllipse(QPointF(0, 0), 3, 3);
}

} // namespace korvel
