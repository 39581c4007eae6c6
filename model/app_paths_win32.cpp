// The parts of app_paths.h that differ on Windows: the executable's folder
// from the module name, the user's folder %APPDATA%\kv2208 (the roaming
// application-data known folder) and the ports \\.\COMn.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "model/app_paths.h"
#include "model/file_path.h"

namespace kv {
namespace {

// Forward slashes throughout, as the rest of the program writes paths;
// Windows takes them at every call the program makes.
std::string FolderText(const std::filesystem::path& folder) {
    std::string text = Utf8Text(folder.generic_wstring());
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::filesystem::path RoamingAppData() {
    PWSTR known = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &known)))
        folder = known;
    ::CoTaskMemFree(known);
    if (folder.empty()) {
        if (const wchar_t* appData = ::_wgetenv(L"APPDATA"); appData && *appData) folder = appData;
    }
    return folder.empty() ? std::filesystem::temp_directory_path() : folder;
}

} // namespace

std::string UserConfigFolder() {
    return FolderText(RoamingAppData() / L"kv2208");
}

std::string ExecutableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (got == 0) return "./";
        if (got < name.size()) {
            name.resize(got);
            break;
        }
        name.resize(name.size() * 2);
    }
    return FolderText(std::filesystem::path(name).parent_path());
}

std::string PrepareConfigFolder(const std::string& appFolder) {
    std::string folder = ConfigFolder(appFolder);
    folder.pop_back(); // the trailing '/'
    const std::filesystem::path path = SystemPath(folder);
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) return "Cannot create " + folder + ": " + ec.message();
    if (!std::filesystem::is_directory(path, ec)) return "Cannot create " + folder + ": not a folder";
    // Whether the folder takes a new file: one that goes again when closed.
    const HANDLE probe =
        ::CreateFileW((path / L".kv2208-write-test").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return "Cannot write " + folder + ": " +
               std::system_category().message(static_cast<int>(::GetLastError()));
    ::CloseHandle(probe);
    return {};
}

std::string PortDevicePath(const std::string&, int port) {
    return "\\\\.\\" + PortName(port);
}

} // namespace kv
