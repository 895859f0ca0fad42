// Start and exit: the settings are read once at start, written by the exit button, and the
// file pattern by the save button.
#include "app/device_names.h"
#include "app/profile_file.h"
#include "files/drives.h"
#include "files/pending_file.h"
#include "form/main_form.h"
#include "manual/manual_settings.h"
#include "text/conversions.h"

#include <filesystem>

namespace korvel {

namespace {

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

int readInt(const ProfileFile& profile, const char* section, const std::string& key, int fallback) {
    return static_cast<int>(profile.readInt(section, key, fallback));
}

} // namespace

void MainForm::Form_Load() {
    namespace fs = std::filesystem;
    ports_.starting = true; // the selections made while starting are not the user's
    c.File1.setPath(withoutTrailingSlash(s.programFolder));
    engine_.options.intervalMs = 1000;
    engine_.step = 1;

    std::vector<std::string> warnings;
    ProfileFile profile = ReadSettings(settings_, warnings);
    for (const std::string& warning : warnings)
        platform_.dialogs.messageBox(warning, "Korvel", MessageIcon::Exclamation,
                                     MessageButtons::Ok);
    DeviceNames devices = DeviceNames::fromProfile(profile);
    ports_.devices = devices;
    ports_.FillPortList();
    OutputSettings& out = ports_.outputs().settings = devices.outputSettings();
    if (!IsLoopbackAddress(out.tcpAddress))
        c.TcpLan.value.reset(1);
    // What a killed run left: its pseudo-terminal's link, its private temporary folders.
    platform_.pty.removeStaleLink(out.ptyLink);
    RemoveStaleTemporaries(TemporaryFolder());
    int width = readInt(profile, "Window", "Width", 0),
        height = readInt(profile, "Window", "Height", 0);
    // A size from a hand-edited file is taken within reason.
    if (width >= 320 && height >= 240 && width <= 20000 && height <= 20000) {
        s.windowWidth = width;
        s.windowHeight = height;
    }
    c.TZdiff.setValue(readInt(profile, "TimeZone", "Diff", 1));
    // A flag other than 0 or 1 (a hand-edited file) is the default.
    figures_.takeSettings(readInt(profile, "TimeZone", "CET", 0),
                          readInt(profile, "Units", "kmh", 1) != 0);

    // An index outside the list (a hand-edited or foreign file) is the default port.
    int port = PortIndexOrDefault(profile.readInt("Port", "COM", -1));
    s.outputPortIndex = port;
    c.PortC.listIndex.set(port);
    ports_.showTcpChoices();
    if (Left(c.PortC.text(), 3) == "COM")
        platform_.comm1.setCommPort(s.outputPortIndex + 1);
    s.garminPortIndex = readInt(profile, "Port", "GPS-Port", 1);
    if (s.garminPortIndex < 0 || s.garminPortIndex >= kSerialPortCount)
        s.garminPortIndex = 1;

    std::error_code ec;
    std::string dataFolder = s.programFolder;
    if (fs::is_directory(s.programFolder + "Tracks", ec))
        dataFolder += "Tracks/";
    std::string path = Trim(profile.readString("Files", "Path", dataFolder));
    path = withoutTrailingSlash(path.substr(0, path.find('\0')));
    if (!path.empty() && fs::is_directory(path, ec)) {
        c.Drive1.drive.set(DriveOf(path));
        c.Dir1.path.set(path);
    }
    files_.applyPattern(Trim(profile.readString("Files", "Names", kDefaultFilePattern)));
    transport_.takeSettings(profile);

    // Each bar raises its change event, which rebuilds the manual-mode labels.
    c.VSc4.setValue(readInt(profile, "Manu", "Auto", 2));
    ManualPosition manual = ManualPositionOf(profile);
    c.VSc2.setValue(manual.altitude);
    c.VSc3.setValue(manual.kmh);
    manual_.setCoordinateTenths(true, manual.latitude.signedTenths());
    manual_.setCoordinateTenths(false, manual.longitude.signedTenths());

    c.File1.left = c.FileT.left = c.NMEA.left = c.LOA.left = 240;
    c.ALL.left = 850;
    c.TRACK.left = 1350;
    c.SAVE.left = 1110;
    ports_.starting = false;
    ports_.outputs().route(c.PortC.text());
}

bool MainForm::saveSettings(const std::function<void(ProfileFile&)>& change) {
    // Read the file again, so that what others wrote into it meanwhile is kept; a file that
    // cannot be read is not replaced by one that would lose its settings.
    std::string error = settings_.refused;
    std::optional<ProfileFile> profile = ProfileFile::read(settings_.readPath, error);
    if (profile && !settings_.writePath.empty() &&
        (error = MakeSettingsFolder(settings_)).empty()) {
        change(*profile);
        if (profile->save(settings_.writePath, error)) {
            settings_.readPath = settings_.writePath;
            return true;
        }
    }
    platform_.dialogs.messageBox("The settings could not be saved: " + error, "Korvel",
                                 MessageIcon::Critical, MessageButtons::Ok);
    return false;
}

void MainForm::ENDE_Click() {
    bool saved = saveSettings([this](ProfileFile& profile) {
        profile.writeInt("Port", "COM", s.outputPortIndex);
        profile.writeString("Devices", "TCPBind", ports_.outputs().settings.tcpAddress);
        profile.writeInt("Devices", "TCP", ports_.outputs().settings.tcpPort);
        profile.writeInt("Port", "GPS-Port", s.garminPortIndex);
        profile.writeInt("TimeZone", "CET", figures_.timeReference());
        profile.writeInt("TimeZone", "Diff", c.TZdiff.value.get());
        profile.writeInt("Units", "kmh", figures_.metric() ? 1 : 0);
        // A stored folder that has vanished for now (an unmounted drive) stays stored.
        if (!c.Dir1.path.get().empty())
            profile.writeString("Files", "Path", c.Dir1.path.get());
        profile.writeInt("Manu", "Auto", c.VSc4.value.get());
        profile.writeInt("Manu", "Alt", c.VSc2.value.get());
        profile.writeInt("Manu", "Speed", c.VSc3.value.get());
        for (int i = 0; i < 4; ++i) {
            profile.writeInt("Manu", "PosN" + std::to_string(i), c.VSc1[i].value.get());
            profile.writeInt("Manu", "PosE" + std::to_string(i), c.HSc1[i].value.get());
        }
        profile.writeString("Manu", "PosNS", manual_.coordinateTenths(true) < 0 ? "S" : "N");
        profile.writeString("Manu", "PosEW", manual_.coordinateTenths(false) < 0 ? "W" : "E");
        transport_.keepSettings(profile);
        writeWindowSize(profile);
    });
    // The user asked to keep the settings: stay open when they could not be kept.
    if (saved)
        platform_.host.quit();
}

void MainForm::SaveWindowSize() {
    saveSettings([this](ProfileFile& profile) { writeWindowSize(profile); });
}

void MainForm::writeWindowSize(ProfileFile& profile) const {
    if (s.windowWidth <= 0)
        return;
    profile.writeInt("Window", "Width", s.windowWidth);
    profile.writeInt("Window", "Height", s.windowHeight);
}

void MainForm::SAVE_Click() {
    saveSettings(
        [this](ProfileFile& profile) { profile.writeString("Files", "Names", c.File1.pattern()); });
    c.focus = "ENDE";
}

} // namespace korvel
