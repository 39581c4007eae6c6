#include "ui/port_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "model/atomic_file.h"
#include "model/file_path.h"

namespace kv::ui {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Write permission as the file's own mode states it: the superuser may open
// any file for writing, yet a file without write bits is a read-only file.
// (On Windows: the read-only attribute.)
bool HasWriteBits(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(SystemPath(path), ec);
    return !ec && fs::exists(status) &&
           (status.permissions() &
            (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) != fs::perms::none;
}

} // namespace

PortFileContent ReadPortFile(const std::string& path) {
    PortFileContent content;
    if (!HasWriteBits(path)) return content;
    File file(OpenUtf8File(path, "r+b"));
    if (!file) return content;
    content.Opened = true;
    unsigned char bytes[2];
    if (std::fread(bytes, 1, 2, file.get()) == 2)
        content.Port = static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
    return content;
}

bool WritePortFile(const std::string& path, int16_t port) {
    const auto value = static_cast<uint16_t>(port);
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8)};
    return WriteFileAtomically(path, bytes, sizeof bytes) == 0;
}

} // namespace kv::ui
