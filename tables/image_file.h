#pragma once
// Image files on disk: the configuration image the writer makes and the
// read-back file the device's image is captured into.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// Far more than the largest image (61 records); a bigger file is no image.
inline constexpr std::size_t MaxImageFileSize = 1 << 20;

// Writes the image bytes to `path`, replacing the file; false when it cannot
// be created or not every byte reached it.
bool WriteImageFile(const std::string& path, const std::vector<uint8_t>& image);

// The bytes of a regular file of at most MaxImageFileSize bytes; empty when
// it cannot be read or is no such file.
std::optional<std::vector<uint8_t>> ReadImageFile(const std::string& path);

} // namespace kv
