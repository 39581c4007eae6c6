#include "cli/windows_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/file_path.h"

namespace kv::cli {

void PrepareWindowsConsole(int& argc, char**& argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);

    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return;
    for (int i = 0; i < count; ++i) texts.push_back(Utf8Text(std::filesystem::path(wide[i])));
    ::LocalFree(wide);
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

} // namespace kv::cli
