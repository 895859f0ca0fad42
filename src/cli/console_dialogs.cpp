#include "cli/console_dialogs.h"

#include <QCoreApplication>
#include <iostream>
#include <unistd.h>

namespace korvel {

MessageAnswer ConsoleDialogs::messageBox(const std::string& text, const std::string& title,
                                         MessageIcon, MessageButtons buttons) {
    std::cerr << "korvel: " << title << ": " << text << "\n";
    // Questions take their default answer: go on.
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
               ? MessageAnswer::Yes
               : MessageAnswer::Ok;
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
