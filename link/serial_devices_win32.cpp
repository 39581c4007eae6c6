// Ports on Windows: port n always opens \\.\COMn; the ports present are
// those the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, each
// value naming the driver's device and holding the port's name.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "link/serial_devices.h"
#include "model/app_paths.h"
#include "model/file_path.h"

namespace kv {
namespace {

struct ListedPort {
    std::string Port;   // "COM3"
    std::string Device; // "\Device\Serial2"
};

std::string Utf8(const std::wstring& text) {
    return Utf8Text(std::filesystem::path(text));
}

// "COM10" after "COM9": by length first, then by text.
bool NaturalBefore(const ListedPort& a, const ListedPort& b) {
    return a.Port.size() != b.Port.size() ? a.Port.size() < b.Port.size() : a.Port < b.Port;
}

std::vector<ListedPort> SystemPorts() {
    std::vector<ListedPort> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t); // room for an end the value may lack
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        ports.push_back({Utf8(data), Utf8(std::wstring(name, nameLength))});
    }
    ::RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), NaturalBefore);
    return ports;
}

} // namespace

PortBinding DescribePort(const std::string& appFolder, int port) {
    PortBinding binding;
    binding.Port = port;
    binding.DevicePath = PortDevicePath(appFolder, port);
    const std::vector<ListedPort> listed = SystemPorts();
    binding.Exists = std::any_of(listed.begin(), listed.end(), [&](const ListedPort& p) {
        return _stricmp(p.Port.c_str(), PortName(port).c_str()) == 0;
    });
    return binding;
}

// A port on Windows is the system's own COMn, never a link of the Config folder.
std::string BrokenLinkText(const std::string&) {
    return {};
}

// "COM3 \Device\Serial2" for each port the system lists.
std::vector<std::string> SerialDevicesPresent(const std::string&) {
    std::vector<std::string> devices;
    for (const ListedPort& p : SystemPorts()) devices.push_back(p.Port + " " + p.Device);
    return devices;
}

std::vector<std::string> DeviceChoices(const std::string&, const std::string& devRoot) {
    return SerialDevicesPresent(devRoot);
}

bool BindPort(const std::string&, int port, const std::string&, std::string* error) {
    if (error) *error = "on Windows " + PortName(port) + " always opens \\\\.\\" + PortName(port);
    return false;
}

} // namespace kv
