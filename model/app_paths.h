#pragma once
// Where the program keeps its files: everything lives in the Config folder
// next to the executable (AppFolder).

#include <string>

namespace kv {

// Folder of the running executable, ending in '/'.
std::string ExecutableFolder();

std::string ImageFilePath(const std::string& appFolder);    // Config/CONF_KV2200-8.A$B
std::string ReadBackFilePath(const std::string& appFolder); // Config/CONF_KV2200-8.C$D
std::string PortFilePath(const std::string& appFolder);     // Config/KV2200-8_CONFPORT.kv2

// Operator-facing port name: "COM%d".
std::string PortName(int port);

// Device path of port n: AppFolder/Config/COMn when that path exists (a link
// to a tty or to the simulator's pseudo-terminal), else /dev/ttyS<n-1>.
std::string PortDevicePath(const std::string& appFolder, int port);

} // namespace kv
