#include "model/app_paths.h"

#include <filesystem>
#include <system_error>

namespace kv {

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string ImageFilePath(const std::string& appFolder) { return appFolder + "Config/CONF_KV2200-8.A$B"; }
std::string ReadBackFilePath(const std::string& appFolder) { return appFolder + "Config/CONF_KV2200-8.C$D"; }
std::string PortFilePath(const std::string& appFolder) { return appFolder + "Config/KV2200-8_CONFPORT.kv2"; }

std::string PortName(int port) { return "COM" + std::to_string(port); }

std::string PortDevicePath(const std::string& appFolder, int port) {
    const std::string link = appFolder + "Config/" + PortName(port);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link;
    return "/dev/ttyS" + std::to_string(port - 1);
}

} // namespace kv
