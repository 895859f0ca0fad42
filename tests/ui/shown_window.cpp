#include "ui/shown_window.h"

#include <QTest>
#include <filesystem>

namespace korvel::test {

ShownWindow::ShownWindow(const std::map<std::string, std::string>& files) {
    std::filesystem::create_directory(program.file("Tracks"));
    for (const auto& [name, content] : files)
        program.write(name, content);
    app_ = std::make_unique<WindowApp>(program.path(),
                                       FindSettings(program.path(), program.file("config")));
    window().show();
    exposed_ = QTest::qWaitForWindowExposed(&window());
}

} // namespace korvel::test
