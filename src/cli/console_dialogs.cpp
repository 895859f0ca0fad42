#include "cli/console_dialogs.h"

#include <algorithm>
#include <iostream>

namespace korvel {

MessageAnswer ConsoleDialogs::messageBox(const std::string& text, const std::string& title,
                                         MessageIcon, MessageButtons buttons) {
    // The window's titles are set off by blanks; a line of text is not.
    std::string_view caption = title;
    caption.remove_prefix(std::min(caption.find_first_not_of(' '), caption.size()));
    std::cerr << "korvel: " << caption << ": " << text << "\n";
    bool question = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
    return question ? MessageAnswer::No : MessageAnswer::Ok;
}

} // namespace korvel
