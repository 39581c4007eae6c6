#include "model/app_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv {
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

std::string ConfigFolder(const std::string& appFolder) {
    const std::string beside = appFolder + "Config/";
    std::error_code ec;
    if (std::filesystem::is_directory(beside, ec)) return beside;
    return UserConfigFolder();
}

std::string ImageFilePath(const std::string& appFolder) { return ConfigFolder(appFolder) + "CONF_KV2200-8.A$B"; }
std::string ReadBackFilePath(const std::string& appFolder) { return ConfigFolder(appFolder) + "CONF_KV2200-8.C$D"; }
std::string PortFilePath(const std::string& appFolder) { return ConfigFolder(appFolder) + "KV2200-8_CONFPORT.kv2"; }

std::string PortName(int port) { return "COM" + std::to_string(port); }

std::string PortLinkPath(const std::string& appFolder, int port) { return ConfigFolder(appFolder) + PortName(port); }

std::string PortLockPath(const std::string& appFolder, int port) { return PortLinkPath(appFolder, port) + ".lock"; }

std::string PortDevicePath(const std::string& appFolder, int port) {
    const std::string link = PortLinkPath(appFolder, port);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link;
    return "/dev/ttyS" + std::to_string(port - 1);
}

} // namespace kv
