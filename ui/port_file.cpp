#include "ui/port_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "model/atomic_file.h"

namespace kv::ui {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Write permission as the file's own mode states it: the superuser may open
// any file for writing, yet a file without write bits is a read-only file.
bool HasWriteBits(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

PortFileContent ReadPortFile(const std::string& path) {
    PortFileContent content;
    if (!HasWriteBits(path)) return content;
    File file(std::fopen(path.c_str(), "r+b"));
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
