// Dialogs without a window: a message goes to standard error; no one is there to answer a
// question (No) or to fill in an input box (none), and there is no window to minimize or close.
#pragma once

#include "platform/dialogs.h"
#include "platform/window_host.h"

namespace korvel {

class ConsoleDialogs : public Dialogs {
  public:
    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void beep() override {}
};

class ConsoleHost : public WindowHost {
  public:
    void minimize() override {}
    void quit() override {}
};

} // namespace korvel
