// The keys: Escape everywhere; in manual mode the arrows move the position in fine steps,
// Enter records a text and the space bar the position. A double click on the form returns to
// the message list, as Escape does.
#include "form/main_form.h"
#include "form/manual_presenter.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr int kEscape = 27, kEnter = 13, kCtrl = 17, kAlt = 18, kSpace = 32;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

} // namespace

void MainForm::Form_KeyDown(int key, int shift) {
    if (key == kEscape) {
        if (!c.List1.visible) {
            c.List1.visible = true;
            c.Dir1.visible = c.Drive1.visible = false;
        } else if (download_.active()) {
            download_.CancelDownload("Download stopped: no file is written.");
        } else if (profileState_ == 1) {
            profileState_ = 2;
        } else if (c.Manu.value.get() == 1 && c.StopA.visible) {
            transport_.StopA_Click(); // the manual simulation stops as its Stop button stops it
        } else if (c.Pause.enabled) {
            StopReplay(StopReason::Stop);
        }
        return;
    }
    if (c.Manu.value.get() == 1)
        manual_.keyDown(key, shift);
}

void ManualPresenter::keyDown(int key, int shift) {
    switch (key) {
    case kEnter:
        if (c.SaveT.enabled)
            SaveT_Click();
        return;
    case kCtrl:
        ctrlHeld_ = true;
        return;
    case kAlt:
        altHeld_ = true;
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
    if (!ctrlHeld_ && shift == 0 && !altHeld_)
        amount += 1;
    if (altHeld_)
        amount += 10;
    if (ctrlHeld_)
        amount += 100;
    if (shift == 1)
        amount += 600;
    // North and east are positive: a step across the equator or the zero meridian goes on
    // from 0 degrees on the other side, and a step past the last degree stops there.
    bool latitude = key == kUp || key == kDown;
    long limit = latitude ? 89 : 179, most = ((limit * 60 + 59) * 60 + 59) * 10 + 9;
    long moved = coordinateTenths(latitude) + (key == kUp || key == kRight ? amount : -amount);
    setCoordinateTenths(latitude, std::clamp(moved, -most, most));
}

void ManualPresenter::Form_KeyUp(int key, int) {
    if (key == kCtrl)
        ctrlHeld_ = false;
    if (key == kAlt)
        altHeld_ = false;
}

void MainForm::Form_DblClick() {
    c.List1.visible = true;
    c.Dir1.visible = c.Drive1.visible = false;
    // Download mode ends, and a download under way is dropped, as Escape drops it.
    if (download_.running()) {
        download_.CancelDownload("Download stopped: no file is written.");
        return;
    }
    if (download_.active()) {
        download_.EndDownloadMode();
        return;
    }
    ports_.FillPortList();
    // The refilled list keeps the chosen output port selected.
    c.PortC.listIndex.reset(s.outputPortIndex);
}

} // namespace korvel
