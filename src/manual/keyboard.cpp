// The keys: Escape everywhere; in manual mode the arrows move the position in fine steps,
// Enter records a text and the space bar the position.
#include "app/main_form.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr int kEscape = 27, kEnter = 13, kCtrl = 17, kAlt = 18, kSpace = 32;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// One coordinate's bar values: degrees (signed), minutes, seconds, tenths.
struct Coordinate {
    int degrees, minutes, seconds, tenths;
};

// Moves the magnitude of a coordinate by tenths of a second, carrying and borrowing; a step
// past the limit of the degrees stops at the limit.
void step(Coordinate& c, long tenths, int limit) {
    bool negative = c.degrees < 0;
    long magnitude = ((std::abs(c.degrees) * 60L + c.minutes) * 60 + c.seconds) * 10 + c.tenths;
    long max = ((limit * 60L + 59) * 60 + 59) * 10 + 9;
    magnitude = std::clamp(magnitude + tenths, -max, max);
    if (magnitude < 0) {
        // Below zero the degrees borrow from -1, which shows as 1 degree on the other side (0
        // degrees always stand for north and east).
        negative = !negative;
        magnitude += 2 * 36000;
    }
    int degrees = static_cast<int>(magnitude / 36000);
    c.minutes = static_cast<int>(magnitude / 600 % 60);
    c.seconds = static_cast<int>(magnitude / 10 % 60);
    c.tenths = static_cast<int>(magnitude % 10);
    c.degrees = negative ? -degrees : degrees;
}

Coordinate read(const std::array<ScrollBar, 4>& bars) {
    return {bars[0].value.get(), bars[1].value.get(), bars[2].value.get(), bars[3].value.get()};
}

void write(std::array<ScrollBar, 4>& bars, const Coordinate& c) {
    bars[0].setValue(c.degrees);
    bars[1].setValue(c.minutes);
    bars[2].setValue(c.seconds);
    bars[3].setValue(c.tenths);
}

} // namespace

void MainForm::Form_KeyDown(int key, int shift) {
    if (key == kEscape) {
        if (!c.List1.visible) {
            c.List1.visible = true;
            c.Dir1.visible = c.Drive1.visible = false;
        } else if (s.downloadMode == 1) {
            CancelDownload("Download stopped: no file is written.");
        } else if (profileState_ == 1) {
            profileState_ = 2;
        } else if (c.Pause.enabled) {
            StopReplay(1);
        }
        return;
    }
    if (c.Manu.value.get() != 1)
        return;
    switch (key) {
    case kEnter:
        if (c.SaveT.enabled)
            SaveT_Click();
        return;
    case kCtrl:
        s.ctrlHeld = 1;
        return;
    case kAlt:
        s.altHeld = 1;
        return;
    case kSpace:
        SaveP_Click();
        return;
    case kUp:
    case kDown:
    case kLeft:
    case kRight:
        break;
    default:
        return;
    }
    long amount = 0;
    if (s.ctrlHeld + shift + s.altHeld == 0)
        amount += 1;
    if (s.altHeld == 1)
        amount += 10;
    if (s.ctrlHeld == 1)
        amount += 100;
    if (shift == 1)
        amount += 600;
    bool latitude = key == kUp || key == kDown;
    std::array<ScrollBar, 4>& bars = latitude ? c.VSc1 : c.HSc1;
    Coordinate position = read(bars);
    char side = (latitude ? c.kkn.caption : c.kko.caption).empty()
                    ? 'N'
                    : (latitude ? c.kkn.caption : c.kko.caption).back();
    bool grows = latitude ? (key == kUp) == (side == 'N') : (key == kLeft) != (side == 'E');
    // The steps act on the magnitude; growing moves away from the equator or zero meridian.
    step(position, grows ? amount : -amount, latitude ? 89 : 179);
    write(bars, position);
}

void MainForm::Form_KeyUp(int key, int) {
    if (key == kCtrl)
        s.ctrlHeld = 0;
    if (key == kAlt)
        s.altHeld = 0;
}

} // namespace korvel
