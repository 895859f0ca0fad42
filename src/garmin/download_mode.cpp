// Download mode: the confirmation, the start of the dialogue with the receiver, the watchdog
// and the way back to the idle window.
#include "app/main_form.h"
#include "text/conversions.h"

#include <cstdio>
#include <filesystem>

namespace korvel {

namespace {

constexpr Color kDarkRed = 192;

// "# 07.12.2026 14:03:59  Local Time"
std::string localTimeLine(const LocalDateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "# %02d.%02d.%04d %02d:%02d:%02d  Local Time", t.day, t.month,
                  t.year, t.hour, t.minute, t.second);
    return text;
}

// The buttons that choose the file list's pattern, and saving, have no use while downloading.
void showPatternButtons(Controls& c, bool shown) {
    for (Control* button : std::initializer_list<Control*>{&c.SAVE, &c.NMEA, &c.ALL, &c.TRACK})
        button->visible = shown;
}

} // namespace

std::string DownloadFileName(const std::string& typed) {
    // The extension is decided by the name typed, not by dots in the folder's path.
    return typed.find('.') == std::string::npos ? typed + ".trk" : typed;
}

void MainForm::StartDownloadDialog() {
    showPatternButtons(c, true);
    c.FileT.text.set("");
    if (platform_.comm2.isOpen())
        platform_.comm2.close();
    MessageAnswer answer = platform_.dialogs.messageBox(
        "GPS-Receiver connected and in GARMIN-Mode ?", "  Tracklog-Download", MessageIcon::Question,
        MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        s.downloadMode = 0;
        c.PortC.listIndex.set(s.outputPortIndex);
        return;
    }
    showPatternButtons(c, false);
    c.focus = "FileT";
    s.downloadMode = 1;
    c.List1.clear();
    c.List1.toolTip = "Download";
    c.File1.toolTip = "File-Name";
    c.DownloadC.enabled = false;
    c.LOA.toolTip = "Start Download";
    // A stored port that is not one of the serial ports falls back to the first.
    if (s.garminPortIndex < 0 || s.garminPortIndex >= kSerialPortCount)
        s.garminPortIndex = 0;
    c.PortC.listIndex.set(s.garminPortIndex);
    platform_.comm2.setCommPort(s.garminPortIndex + 1);
    c.Skip1.enabled = false;
    c.PortC.backColor = kDarkRed;
    c.PortC.items.resize(kSerialPortCount);
}

void MainForm::StartDownload() {
    c.List1.visible = true;
    c.Dir1.visible = c.Drive1.visible = false;
    std::string name = c.FileT.text.get();
    if (name.empty()) {
        platform_.dialogs.beep();
        c.focus = "FileT";
        return;
    }
    // The file is written into the folder shown, never elsewhere.
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        platform_.dialogs.messageBox("\"" + name + "\" is not a file name.", " Error !",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
        c.focus = "FileT";
        return;
    }
    std::string path = c.Dir1.path.get() + "/" + DownloadFileName(name);
    std::error_code ec;
    // An existing file is replaced only when the user says so, and only by a complete download.
    replaceTarget_ = std::filesystem::exists(path, ec);
    if (replaceTarget_ && platform_.dialogs.messageBox(
                              path + " exists already. Replace it ?", "  Tracklog-Download",
                              MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        c.focus = "FileT";
        return;
    }
    c.focus = "ENDE";
    c.LOA.enabled = false;
    c.Timer3.setEnabled(true);
    SerialPort& port = platform_.comm2;
    port.setCommPort(s.garminPortIndex + 1);
    port.setSettings("9600,n,8,1");
    std::string error;
    if (!port.open(error)) {
        platform_.dialogs.messageBox("COM" + std::to_string(s.garminPortIndex + 1) +
                                         " cannot be opened: " + error,
                                     " Error !", MessageIcon::Critical, MessageButtons::Ok);
        EndDownloadMode();
        return;
    }
    s.replayFilePath = path;
    closeAllFiles();
    // The track is written beside the file named and takes its name when the transfer is
    // complete.
    if (!download_.create(path, error)) {
        platform_.dialogs.messageBox(path + " cannot be written: " + error, " Error !",
                                     MessageIcon::Critical, MessageButtons::Ok);
        EndDownloadMode();
        return;
    }
    link = GarminLinkState{};
    writeTrackLine("I Korvel V" KORVEL_VERSION);
    writeTrackLine(localTimeLine(platform_.clock.now()));
    if (!download_.isOpen())
        return;
    sendPacket(0x00, "");
    platform_.clock.Sleep(100);
    sendPacket(0xFE, "");
}

void MainForm::SendHex(const std::string& hexText) {
    for (size_t i = 0; i + 1 < hexText.size(); i += 2) {
        platform_.clock.Sleep(10);
        auto byte = static_cast<char>(std::stoi(hexText.substr(i, 2), nullptr, 16));
        platform_.comm2.output(std::string(1, byte));
    }
}

void MainForm::DownloadTimeout() {
    // The receiver is not listened to while the user reads the message.
    c.Timer3.setEnabled(false);
    platform_.comm2.close();
    platform_.dialogs.messageBox("GPS-Timeout\n(ComPort=" + std::to_string(s.garminPortIndex + 1) +
                                     "?)",
                                 " Error !", MessageIcon::Critical, MessageButtons::Ok);
    CancelDownload("GPS-Timeout: no file is written.");
}

void MainForm::CancelDownload(const std::string& reason) {
    // The watchdog, the port list and the port are EndDownloadMode's to restore; closing the
    // files drops what the download wrote, and the file named stays as it was.
    EndDownloadMode();
    c.List1.addItem(reason);
    c.List1.listIndex = static_cast<int>(c.List1.items.size()) - 1;
}

void MainForm::EndDownloadMode() {
    if (platform_.comm2.isOpen())
        platform_.comm2.close();
    s.downloadMode = 0;
    c.Gauge2.value = 0;
    c.Timer3.setEnabled(false);
    c.File1.setPattern(s.fileNamePattern);
    c.FileT.text.set(s.fileNamePattern);
    showPatternButtons(c, true);
    c.LOA.enabled = true;
    closeAllFiles();
    c.DownloadC.enabled = c.Skip1.enabled = true;
    FillPortList();
    c.PortC.listIndex.set(s.outputPortIndex);
    c.LOA.toolTip = "Load Fileselection";
    c.File1.toolTip = "Start - Rename/Delete";
}

} // namespace korvel
