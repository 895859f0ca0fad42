#include "ui/picture_widget.h"

#include <QPainter>

namespace korvel {

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Mid grey: the black frame text and the yellow curves both stand out on it.
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (picture_.scaleWidth == 0 || picture_.scaleHeight == 0)
        return;
    auto toX = [this](double x) {
        return (x - picture_.scaleLeft) / picture_.scaleWidth * width();
    };
    auto toY = [this](double y) {
        return (y - picture_.scaleTop) / picture_.scaleHeight * height();
    };
    for (const PictureBox::Op& op : picture_.ops) {
        QColor color(static_cast<int>(op.color & 0xFF), static_cast<int>(op.color >> 8 & 0xFF),
                     static_cast<int>(op.color >> 16 & 0xFF));
        painter.setPen(QPen(color, op.width));
        if (op.kind == PictureBox::Op::Line)
            painter.drawLine(QPointF(toX(op.x1), toY(op.y1)), QPointF(toX(op.x2), toY(op.y2)));
        else
            painter.drawText(
                QPointF(toX(op.x1), toY(op.y1) + fontMetrics().ascent()),
                QString::fromUtf8(op.text.data(), static_cast<qsizetype>(op.text.size())));
    }
}

} // namespace korvel
