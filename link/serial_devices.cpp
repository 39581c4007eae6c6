#include "link/serial_devices.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "model/app_paths.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// "ttyS10" after "ttyS9": by length first, then by text.
bool NaturalBefore(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::vector<std::string> Matching(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) == 0) found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end(), NaturalBefore);
    return found;
}

// A simulator holds the lock beside the link while it plays the port.
bool HeldBySimulator(const std::string& appFolder, int port) {
    // Read-only is enough for flock, and works for a lock file another user made.
    const int fd = ::open(PortLockPath(appFolder, port).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

} // namespace

std::string BrokenLinkText(const std::string& linkPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(linkPath, ec)) || fs::exists(linkPath, ec)) return "";
    const std::string target = fs::read_symlink(linkPath, ec).string();
    return fs::path(linkPath).filename().string() + " leads to " + target +
           ", which no longer exists (a simulator that has stopped?)";
}

PortBinding DescribePort(const std::string& appFolder, int port) {
    PortBinding binding;
    binding.Port = port;
    const std::string link = PortLinkPath(appFolder, port);
    std::error_code ec;
    binding.Linked = fs::is_symlink(fs::symlink_status(link, ec));
    binding.DevicePath =
        binding.Linked ? fs::read_symlink(link, ec).string() : PortDevicePath(appFolder, port);
    binding.Exists = fs::exists(binding.Linked ? link : binding.DevicePath, ec);
    return binding;
}

std::vector<std::string> SerialDevicesPresent(const std::string& devRoot) {
    std::vector<std::string> devices = Matching(devRoot + "/serial/by-id", "");
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        const auto more = Matching(devRoot, prefix);
        devices.insert(devices.end(), more.begin(), more.end());
    }
    return devices;
}

std::vector<std::string> DeviceChoices(const std::string& appFolder, const std::string& devRoot) {
    std::vector<std::string> choices = SerialDevicesPresent(devRoot);
    for (int port = 1; port <= ListedPorts; ++port) {
        const PortBinding b = DescribePort(appFolder, port);
        if (b.Linked && b.Exists && std::find(choices.begin(), choices.end(), b.DevicePath) == choices.end())
            choices.push_back(b.DevicePath);
    }
    return choices;
}

bool BindPort(const std::string& appFolder, int port, const std::string& device, std::string* error) {
    const std::string link = PortLinkPath(appFolder, port);
    if (HeldBySimulator(appFolder, port)) {
        if (error) *error = PortName(port) + " is taken by a running simulator";
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        if (error) *error = link + " exists and is not a link";
        return false;
    }
    if (!device.empty() && !fs::exists(device, ec)) {
        if (error) *error = device + " does not exist";
        return false;
    }
    fs::remove(link, ec);
    if (device.empty()) return true;
    fs::create_directories(ConfigFolder(appFolder), ec);
    fs::create_symlink(device, link, ec);
    if (ec) {
        if (error) *error = "cannot create " + link + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace kv
