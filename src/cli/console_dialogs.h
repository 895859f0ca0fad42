// Dialogs without a window: messages go to standard error; a question takes the answer the
// command line gave for it (No unless an option says otherwise); an input box is asked on the
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

    // The answer the questions asked from now on take.
    void answerQuestions(bool yes) { yes_ = yes; }
    // Quiet: questions and their answers are not told, messages still are.
    void setQuiet(bool quiet) { quiet_ = quiet; }

  private:
    bool yes_ = false, quiet_ = false;
};

// Without a window there is nothing to minimize; ending the program ends the event loop.
class ConsoleHost : public WindowHost {
  public:
    void minimize() override {}
    void quit() override;
};

} // namespace korvel
