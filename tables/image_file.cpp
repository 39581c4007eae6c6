#include "tables/image_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/atomic_file.h"
#include "model/file_path.h"

namespace kv {

bool WriteImageFile(const std::string& path, const std::vector<uint8_t>& image) {
    return WriteFileAtomically(path, image.data(), image.size()) == 0;
}

std::optional<std::vector<uint8_t>> ReadImageFile(const std::string& path) {
    const std::filesystem::path file = SystemPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > MaxImageFileSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank meanwhile keeps what was read.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace kv
