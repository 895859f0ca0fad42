#include "app/settings_location.h"

#include "app/profile_file.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

bool writable(const std::string& folder) {
    // The effective user decides, as for the write itself.
    return faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

// The user's home: $HOME while it names a folder, else the one the system keeps for the user
// (a home taken from a shared folder such as /tmp would let others plant settings); "" when
// there is none.
std::string homeFolder() {
    std::error_code ec;
    const char* home = std::getenv("HOME");
    if (home && *home == '/' && fs::is_directory(home, ec))
        return home;
    const passwd* user = getpwuid(geteuid());
    if (user && user->pw_dir && *user->pw_dir == '/' && fs::is_directory(user->pw_dir, ec))
        return user->pw_dir;
    return "";
}

// $variable/korvel when it names an absolute folder, else ~/fallback/korvel; "" without a home.
std::string userFolder(const char* variable, const char* fallback) {
    const char* xdg = std::getenv(variable);
    if (xdg && *xdg == '/')
        return (fs::path(xdg) / "korvel").string();
    std::string home = homeFolder();
    return home.empty() ? "" : (fs::path(home) / fallback / "korvel").string();
}

// Makes folder, the last step private to the user; "" or why it cannot be used.
std::string makeOwnFolder(const std::string& folder) {
    if (folder.empty())
        return "there is no home folder";
    if (std::string why = WhyNotTheUsers(folder); !why.empty())
        return why;
    std::error_code ec;
    fs::create_directories(fs::path(folder).parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return folder + " cannot be made";
    return WhyNotTheUsers(folder);
}

} // namespace

std::string WhyNotTheUsers(const std::string& path) {
    std::error_code ec;
    fs::path at = fs::weakly_canonical(path, ec); // where links lead
    if (ec)
        return path + ": " + ec.message();
    const uid_t user = geteuid();
    for (;; at = at.parent_path()) {
        struct stat status {};
        if (::stat(at.c_str(), &status) == 0) {
            if (status.st_uid != user && status.st_uid != 0)
                return at.string() + " belongs to another user";
            // A shared folder (its sticky bit set) lets none remove what others put in it; the
            // user's own group is the user's.
            bool shared = S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX);
            bool othersWrite = (status.st_mode & S_IWOTH) ||
                               ((status.st_mode & S_IWGRP) && status.st_gid != getegid());
            if (othersWrite && !shared)
                return at.string() + " may be written by other users";
        }
        if (at == at.parent_path())
            return "";
    }
}

std::string InstalledSamples(const std::string& programFolder) {
    fs::path folder = fs::path(programFolder).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    fs::path prefix = folder.parent_path();
    // The window lies in <prefix>/libexec/korvel, the command in <prefix>/bin.
    if (folder.filename() == "korvel" && prefix.filename() == "libexec")
        prefix = prefix.parent_path();
    fs::path samples = prefix / "share" / "korvel" / "Tracks";
    std::error_code ec;
    return fs::is_directory(samples, ec) ? samples.string() : "";
}

SettingsLocation FindSettings(const std::string& programFolder, const std::string& configFolder) {
    const std::string name = "Korvel.ini";
    std::string besideProgram = (fs::path(programFolder) / name).string();
    bool besideIsTheUsers = WhyNotTheUsers(besideProgram).empty();
    // Root may write anywhere: only a program run from its build folder keeps its settings
    // beside it.
    if (InstalledSamples(programFolder).empty() && writable(programFolder) && besideIsTheUsers)
        return {besideProgram, besideProgram, ""};
    std::error_code ec;
    std::string shipped = besideIsTheUsers && fs::exists(besideProgram, ec) ? besideProgram : "";
    if (configFolder.empty())
        return {shipped, "", "there is no home folder"};
    std::string inConfig = (fs::path(configFolder) / name).string();
    if (std::string why = WhyNotTheUsers(inConfig); !why.empty())
        return {shipped, "", why};
    bool useConfig = fs::exists(inConfig, ec) || shipped.empty();
    return {useConfig ? inConfig : shipped, inConfig, ""};
}

std::string MakeSettingsFolder(const SettingsLocation& location) {
    return makeOwnFolder(fs::path(location.writePath).parent_path().string());
}

std::string UserConfigFolder() {
    return userFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserDataFolder() {
    return userFolder("XDG_DATA_HOME", ".local/share");
}

namespace {

// $XDG_RUNTIME_DIR when it is the user's own, else /tmp/korvel-UID, which may not exist yet.
std::string runtimeFolderName() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (runtime && *runtime == '/' && ::stat(runtime, &status) == 0 && status.st_uid == geteuid() &&
        WhyNotTheUsers(runtime).empty())
        return runtime;
    return "/tmp/korvel-" + std::to_string(geteuid());
}

} // namespace

std::string UserRuntimeFolder(std::string& why) {
    std::string folder = runtimeFolderName();
    why = makeOwnFolder(folder);
    struct stat status {};
    if (why.empty() && (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)))
        why = folder + " is not a folder";
    return why.empty() ? folder : "";
}

std::string DefaultPtyLink() {
    return runtimeFolderName() + "/korvel-gps0";
}

std::string FindDataHome(const std::string& programFolder, const std::string& dataFolder) {
    std::string samples = InstalledSamples(programFolder);
    if (samples.empty() && writable(programFolder) && WhyNotTheUsers(programFolder).empty())
        return programFolder;
    // A data folder others could plant files in is not used: the program's own folder is.
    if (!makeOwnFolder(dataFolder).empty())
        return programFolder;
    std::error_code ec;
    fs::path tracks = fs::path(dataFolder) / "Tracks";
    if (!fs::exists(tracks, ec) && fs::create_directories(tracks, ec))
        fs::copy(samples, tracks, fs::copy_options::recursive, ec);
    return dataFolder;
}

ProfileFile ReadSettings(const SettingsLocation& location, std::vector<std::string>& warnings) {
    std::string unreadable;
    ProfileFile profile = ProfileFile::read(location.readPath, unreadable).value_or(ProfileFile{});
    if (!unreadable.empty())
        warnings.push_back("The settings cannot be read (" + unreadable +
                           "): the defaults apply, and the file is not replaced.");
    if (!location.refused.empty())
        warnings.push_back(
            "The settings folder is not used (" + location.refused + "): the " +
            (location.readPath.empty() ? "defaults apply" : "program's settings apply") +
            ", and nothing is saved.");
    return profile;
}

} // namespace korvel
