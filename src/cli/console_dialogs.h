// Dialogs without a window: messages go to standard error; a question is asked on the
// terminal, or takes no answer when there is none.
#pragma once

#include "platform/dialogs.h"
#include "platform/window_host.h"

namespace korvel {

class ConsoleDialogs : public Dialogs {
  public:
    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    void beep() override;
};

// Without a window there is nothing to minimize; ending the program ends the event loop.
class ConsoleHost : public WindowHost {
  public:
    void minimize() override {}
    void quit() override;
};

} // namespace korvel
