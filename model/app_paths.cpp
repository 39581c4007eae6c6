#include "model/app_paths.h"

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/file_path.h"

namespace kv {

#ifdef _WIN32
std::string UserConfigFolder(); // app_paths_win32.cpp: %APPDATA%/kv2208/
#else
namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The user's home: $HOME, else the password database's entry.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/tmp";
}

// $XDG_CONFIG_HOME/kv2208/; a relative or empty XDG_CONFIG_HOME is ignored,
// as the base-directory rules say.
std::string UserConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string base = (xdg && xdg[0] == '/') ? std::string(xdg) : WithSlash(HomeFolder()) + ".config";
    return WithSlash(base) + "kv2208/";
}

} // namespace

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return WithSlash(exe.parent_path().string());
}
#endif

std::string ConfigFolder(const std::string& appFolder) {
    const std::string beside = appFolder + "Config/";
    std::error_code ec;
    if (std::filesystem::is_directory(SystemPath(beside), ec)) return beside;
    return UserConfigFolder();
}

std::string ImageFilePath(const std::string& appFolder) {
    return ConfigFolder(appFolder) + "CONF_KV2200-8.A$B";
}
std::string ReadBackFilePath(const std::string& appFolder) {
    return ConfigFolder(appFolder) + "CONF_KV2200-8.C$D";
}
std::string PortFilePath(const std::string& appFolder) {
    return ConfigFolder(appFolder) + "KV2200-8_CONFPORT.kv2";
}

std::string CannotWriteMessage(const std::string& path, int error) {
    return "Cannot write " + path + ": " + std::strerror(error);
}

#ifndef _WIN32
std::string PrepareConfigFolder(const std::string& appFolder) {
    std::string folder = ConfigFolder(appFolder);
    folder.pop_back(); // the trailing '/'
    // Each missing folder of the path in turn, as mkdir -p does.
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return "Cannot create " + part + ": " + std::strerror(errno);
        if (end == std::string::npos) break;
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return "Cannot create " + folder + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return "Cannot create " + folder + ": " + std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return CannotWriteMessage(folder, errno);
    return {};
}
#endif

std::string PortName(int port) {
    return "COM" + std::to_string(port);
}

std::string PortLinkPath(const std::string& appFolder, int port) {
    return ConfigFolder(appFolder) + PortName(port);
}

std::string PortLockPath(const std::string& appFolder, int port) {
    return PortLinkPath(appFolder, port) + ".lock";
}

#ifndef _WIN32
std::string PortDevicePath(const std::string& appFolder, int port) {
    const std::string link = PortLinkPath(appFolder, port);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link;
    return "/dev/ttyS" + std::to_string(port - 1);
}

#endif

} // namespace kv
