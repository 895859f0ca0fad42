// Download mode: the confirmation, the start of the dialogue with the receiver, the watchdog
// and the way back to the idle window.
#include "form/download_presenter.h"
#include "form/main_form.h"
#include "text/conversions.h"

#include <filesystem>

namespace korvel {

namespace {

constexpr Color kDarkRed = 192, kTransferOk = 49344;

// The buttons that choose the file list's pattern, and saving, have no use while downloading.
void showPatternButtons(Controls& c, bool shown) {
    for (Control* button : std::initializer_list<Control*>{&c.SAVE, &c.NMEA, &c.ALL, &c.TRACK})
        button->visible = shown;
}

} // namespace

DownloadPresenter::DownloadPresenter(const FormPart& part)
    : FormPart(part), download_(platform.comm2, platform.clock, listener()) {
    c.DownloadC.onClick = [this] { StartDownloadDialog(); };
    c.Timer3.setInterval(kDownloadWatchdogMs);
    c.Timer3.onTimer = [this] { download_.timeout(); };
    platform.comm2.onReceive = [this] { download_.receive(); };
}

void DownloadPresenter::StartDownloadDialog() {
    showPatternButtons(c, true);
    c.FileT.text.set("");
    if (platform.comm2.isOpen())
        platform.comm2.close();
    MessageAnswer answer = platform.dialogs.messageBox(
        "GPS-Receiver connected and in GARMIN-Mode ?", "  Tracklog-Download", MessageIcon::Question,
        MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        active_ = false;
        c.PortC.listIndex.set(s.outputPortIndex);
        return;
    }
    showPatternButtons(c, false);
    c.focus = "FileT";
    active_ = true;
    c.List1.clear();
    c.List1.toolTip = "Download";
    c.File1.toolTip = "File-Name";
    c.DownloadC.enabled = false;
    c.LOA.toolTip = "Start Download";
    // A stored port that is not one of the serial ports falls back to the first.
    if (s.garminPortIndex < 0 || s.garminPortIndex >= kSerialPortCount)
        s.garminPortIndex = 0;
    c.PortC.listIndex.set(s.garminPortIndex);
    platform.comm2.setCommPort(s.garminPortIndex + 1);
    c.Skip1.enabled = false;
    c.PortC.backColor = kDarkRed;
    c.PortC.keepFirst(kSerialPortCount);
}

void DownloadPresenter::StartDownload() {
    c.List1.visible = true;
    c.Dir1.visible = c.Drive1.visible = false;
    std::string name = c.FileT.text.get();
    if (name.empty()) {
        platform.dialogs.beep();
        c.focus = "FileT";
        return;
    }
    // The file is written into the folder shown, never elsewhere.
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        platform.dialogs.messageBox("\"" + name + "\" is not a file name.", " Error !",
                                    MessageIcon::Exclamation, MessageButtons::Ok);
        c.focus = "FileT";
        return;
    }
    std::string path = c.Dir1.path.get() + "/" + DownloadFileName(name);
    std::error_code ec;
    // An existing file is replaced only when the user says so, and only by a complete download.
    bool replaceTarget = std::filesystem::exists(path, ec);
    if (replaceTarget && platform.dialogs.messageBox(path + " exists already. Replace it ?",
                                                     "  Tracklog-Download", MessageIcon::Question,
                                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
        c.focus = "FileT";
        return;
    }
    c.focus = "ENDE";
    c.LOA.enabled = false;
    form.closeAllFiles();
    if (std::optional<std::string> error =
            download_.start(s.garminPortIndex + 1, path, replaceTarget)) {
        platform.dialogs.messageBox(*error, " Error !", MessageIcon::Critical, MessageButtons::Ok);
        EndDownloadMode();
        return;
    }
}

TrackDownload::Listener DownloadPresenter::listener() {
    return {
        .listed = [this](const std::string& line) { c.List1.addItem(line); },
        .announced = [this](int records) { c.Gauge2.max = records; },
        .pointsReceived =
            [this](int points) {
                if (points <= c.Gauge2.max)
                    c.Gauge2.value = points;
            },
        .watch = [this](bool on) { c.Timer3.setEnabled(on); },
        .ended = [this](const DownloadResult& result) { ended(result); },
    };
}

void DownloadPresenter::ended(const DownloadResult& result) {
    if (!result.message.empty())
        platform.dialogs.messageBox(result.message, " Error !", MessageIcon::Critical,
                                    MessageButtons::Ok);
    EndDownloadMode();
    bool complete = result.end == DownloadResult::End::Complete;
    if (complete)
        platform.dialogs.beep();
    c.List1.addItem(result.line);
    c.List1.listIndex = static_cast<int>(c.List1.items.size()) - 1;
    if (complete)
        c.PortC.backColor = kTransferOk;
}

void DownloadPresenter::CancelDownload(const std::string& reason) {
    download_.stop(reason);
}

void DownloadPresenter::EndDownloadMode() {
    if (platform.comm2.isOpen())
        platform.comm2.close();
    active_ = false;
    c.Gauge2.value = 0;
    c.Timer3.setEnabled(false);
    c.File1.setPattern(form.files().pattern());
    c.FileT.text.set(form.files().pattern());
    showPatternButtons(c, true);
    c.LOA.enabled = true;
    form.closeAllFiles();
    c.DownloadC.enabled = c.Skip1.enabled = true;
    form.ports().FillPortList();
    c.PortC.listIndex.set(s.outputPortIndex);
    c.LOA.toolTip = "Load Fileselection";
    c.File1.toolTip = "Start - Rename/Delete";
}

} // namespace korvel
