#pragma once
// kv2208-cli show for configuration images: every record decoded.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

namespace kv::cli {

// Whole 188-byte records, the first one an image record (0xB8): an image or
// read-back file, never a project file (13880 bytes is no multiple of 188).
bool LooksLikeImage(const std::vector<uint8_t>& bytes);

// The image record by record: header with its length and rate table, PID
// pairs per input, the PCR lists, and each packet's table with its fields
// and whether its CRC is right.
nlohmann::json ImageToJson(const std::vector<uint8_t>& image);

} // namespace kv::cli
