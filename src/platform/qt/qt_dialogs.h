// Message box, input box and beep as Qt dialogs over the window.
#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace korvel {

class QtDialogs : public Dialogs {
  public:
    // The dialogs open over parent (none: over no window).
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    void beep() override;

  private:
    QWidget* parent_ = nullptr;
};

} // namespace korvel
