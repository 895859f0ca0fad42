// The course instrument: a compass card whose needle shows the course of the replay.
#pragma once

#include "form/control.h"

#include <QWidget>

namespace korvel {

class CompassWidget : public QWidget {
  public:
    explicit CompassWidget(const Gauge& gauge) : gauge_(gauge) { setMinimumSize(90, 90); }

    // The course the needle shows, in degrees clockwise from north; -1 while it shows none.
    int needleDegrees() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Gauge& gauge_;
};

} // namespace korvel
