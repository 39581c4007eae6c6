#pragma once
// The port settings file: exactly two bytes, the chosen port number as a
// little-endian 16-bit integer.

#include <cstdint>
#include <optional>
#include <string>

namespace kv::ui {

struct PortFileContent {
    bool Opened = false;         // false when missing or read-only: the port becomes 0
    std::optional<int16_t> Port; // empty when the file holds fewer than two bytes
};

// Opens the file as an existing one for reading and writing; a read-only
// file counts as not opened, as the operator's tool always treated it.
PortFileContent ReadPortFile(const std::string& path);

// Creates or truncates the file and writes the two bytes. A failure is not
// reported to the operator; the result only tells the caller.
bool WritePortFile(const std::string& path, int16_t port);

} // namespace kv::ui
