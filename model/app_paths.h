#pragma once
// Where the programs keep their files. Everything lives in the Config folder:
// AppFolder/Config when that folder exists beside the executable (a build
// tree or a portable copy), otherwise the user's configuration folder
// $XDG_CONFIG_HOME/kv2208/ (default ~/.config/kv2208/), so that nothing is
// ever written next to an installed executable.

#include <string>

namespace kv {

// Folder of the running executable, ending in '/'.
std::string ExecutableFolder();

// The Config folder of the program in appFolder, ending in '/'. It need not
// exist yet: the user's folder is created when first needed.
std::string ConfigFolder(const std::string& appFolder);

std::string ImageFilePath(const std::string& appFolder);    // Config/CONF_KV2200-8.A$B
std::string ReadBackFilePath(const std::string& appFolder); // Config/CONF_KV2200-8.C$D
std::string PortFilePath(const std::string& appFolder);     // Config/KV2200-8_CONFPORT.kv2

// Makes the Config folder ready for writing: creates it when it is missing
// (the user's folder and its parents, mode 0700) and checks that it can be
// written. Every writer of a Config file calls it first. Empty when the
// folder is ready, else a message naming the path and the reason, such as
// "Cannot create /home/op/.config/kv2208: Permission denied".
std::string PrepareConfigFolder(const std::string& appFolder);

// "Cannot write PATH: REASON" for the errno value `error`.
std::string CannotWriteMessage(const std::string& path, int error);

// Operator-facing port name: "COM%d".
std::string PortName(int port);

// The link that binds port n to a device: Config/COMn.
std::string PortLinkPath(const std::string& appFolder, int port);

// The lock a simulator holds beside that link while it plays port n: Config/COMn.lock.
std::string PortLockPath(const std::string& appFolder, int port);

// Device path of port n: Config/COMn when that path exists (a link to a tty
// or to the simulator's pseudo-terminal), else /dev/ttyS<n-1>.
std::string PortDevicePath(const std::string& appFolder, int port);

} // namespace kv
