#include "cli/console_dialogs.h"

#include <QCoreApplication>
#include <algorithm>
#include <iostream>
#include <unistd.h>

namespace korvel {

MessageAnswer ConsoleDialogs::messageBox(const std::string& text, const std::string& title,
                                         MessageIcon, MessageButtons buttons) {
    // The window's titles are set off by blanks; a line of text is not.
    std::string_view caption = title;
    caption.remove_prefix(std::min(caption.find_first_not_of(' '), caption.size()));
    if (buttons != MessageButtons::YesNo && buttons != MessageButtons::YesNoCancel) {
        std::cerr << "korvel: " << caption << ": " << text << "\n";
        return MessageAnswer::Ok;
    }
    // A question the command line answers is told with its answer, unless the run is quiet.
    if (!quiet_)
        std::cerr << "korvel: " << caption << ": " << text << (yes_ ? " Yes" : " No") << "\n";
    return yes_ ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::string> ConsoleDialogs::inputBox(const std::string& prompt,
                                                    const std::string& title,
                                                    const std::string& initial) {
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::cerr << title << ": " << prompt << " [" << initial << "] " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return line.empty() ? initial : line;
}

void ConsoleDialogs::beep() {
    std::cerr << '\a' << std::flush;
}

void ConsoleHost::quit() {
    QCoreApplication::quit();
}

} // namespace korvel
