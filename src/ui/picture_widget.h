// Paints what was drawn on a picture box, in the picture box's own scale.
#pragma once

#include "form/control.h"

#include <QWidget>

namespace korvel {

class PictureWidget : public QWidget {
  public:
    explicit PictureWidget(const PictureBox& picture) : picture_(picture) { setMinimumHeight(80); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PictureBox& picture_;
};

} // namespace korvel
