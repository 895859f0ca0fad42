// Message box, input box and beep.
#pragma once

#include <optional>
#include <string>

namespace korvel {

enum class MessageIcon { Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) = 0;
    // The text entered, or nothing when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& initial) = 0;
    virtual void beep() = 0;
};

} // namespace korvel
