#include "support/replay_fixture.h"

#include "replay/sentence.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace korvel::test {

namespace {

std::unique_ptr<MainForm> startedForm(TempFolder& program, VirtualPlatform& platform) {
    std::filesystem::create_directory(program.file("Tracks"));
    // The stream goes to the virtual serial port, as saved settings choose it.
    program.write("Korvel.ini", "[Port]\nCOM= 0\n");
    auto form = std::make_unique<MainForm>(platform.platform, program.path(),
                                           FindSettings(program.path(), program.file("config")));
    form->Form_Load();
    return form;
}

} // namespace

ReplayFixture::ReplayFixture()
    : owned(startedForm(program, platform)), form(*owned), c(form.c), s(form.s),
      engine(form.engine()) {}

void ReplayFixture::load(const std::string& name, const std::string& content) {
    program.write("Tracks/" + name, content);
    click(program.file("Tracks/" + name));
}

void ReplayFixture::click(const std::string& path) {
    std::filesystem::path p(path);
    c.Dir1.path.set(p.parent_path().string());
    c.File1.setPattern("*");
    auto found = std::find(c.File1.items.begin(), c.File1.items.end(), p.filename().string());
    ASSERT_NE(found, c.File1.items.end()) << path;
    c.File1.listIndex = static_cast<int>(found - c.File1.items.begin());
    c.File1.onClick();
}

void ReplayFixture::tick() {
    // A tick of Timer1, and the step it brings a moment later.
    bool ticked = false;
    while (Timer* fired = platform.clock.fireNext()) {
        ticked = ticked || fired == &c.Timer1;
        if (ticked && !form.stepPending())
            return;
    }
    ADD_FAILURE() << "no replay tick is due";
}

void ReplayFixture::runToEnd(std::int64_t limitMs) {
    const std::int64_t step = 60'000;
    for (std::int64_t ran = 0; engine.active && ran < limitMs; ran += step)
        platform.clock.advance(step);
}

std::vector<std::string> ReplayFixture::sentLines() const {
    std::vector<std::string> lines;
    const std::string& all = platform.comm1.written;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a sentence without CR LF at byte " << start;
        if (end == std::string::npos)
            break;
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void ReplayFixture::checkAll(bool on) {
    for (CheckBox& box : c.Data)
        box.value.set(on ? 1 : 0);
}

std::string Log(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string Rmc(int record) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", record / 3600 % 24, record / 60 % 60,
                  record % 60);
    return FrameSentence(std::string("GPRMC,") + time +
                         ",A,4807.038,N,01131.000,E,010.0,084.4,230394,,");
}

} // namespace korvel::test
