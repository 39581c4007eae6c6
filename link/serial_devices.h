#pragma once
// Which device each port opens, the serial devices present on the machine,
// and binding a port to one of them: the COMn link in the Config folder that
// the window and the command line both follow.

#include <string>
#include <vector>

namespace kv {

inline constexpr int ListedPorts = 9; // COM1..COM9, the port menu's choices

struct PortBinding {
    int Port = 0;
    std::string DevicePath; // what the port opens now
    bool Linked = false;    // through the COMn link (else the default /dev/ttyS<n-1>)
    bool Exists = false;    // the device (the link's target) is there
};

PortBinding DescribePort(const std::string& appFolder, int port);

// For a link whose target is gone: "COM2 leads to /dev/pts/3, which no
// longer exists (a simulator that has stopped?)"; empty for anything else.
std::string BrokenLinkText(const std::string& linkPath);

// /dev/serial/by-id/* first, then /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyS*
// that exist, each group in natural order (ttyS2 before ttyS10). `devRoot`
// stands for /dev.
std::vector<std::string> SerialDevicesPresent(const std::string& devRoot = "/dev");

// What a port can be bound to: the devices present, then the devices other
// ports are linked to that are not among them (a simulator's terminal).
std::vector<std::string> DeviceChoices(const std::string& appFolder, const std::string& devRoot = "/dev");

// Links port n to `device`, or back to its default when `device` is empty.
// Refused (false, `error` says why) while a running simulator holds the
// port, and for a device that does not exist.
bool BindPort(const std::string& appFolder, int port, const std::string& device,
              std::string* error = nullptr);

} // namespace kv
