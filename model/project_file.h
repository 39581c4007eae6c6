#pragma once
// Project files (*.MUX): the 13880-byte image of ServiceBlock followed by
// GhostBlock, no header, no checksum.

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/config_store.h"

namespace kv {

enum class ProjectFileStatus {
    Ok,
    CannotOpen,   // "Cannot open input file."
    Corrupted,    // "File corrupted!": wrong size, counts or values out of range
    CannotCreate, // "Error at Save."
    WriteFailed   // "Error at Save.": not every byte reached the file
};

// Reads a project file into `store`. Anything but Ok leaves `store` exactly as
// it was; for Corrupted, `problem` (when given) receives why, in words.
ProjectFileStatus ReadProjectFile(const std::string& path, ConfigStore& store,
                                  std::string* problem = nullptr);

// The same check on bytes already read: Ok (and the store takes them over)
// only for exactly 13880 bytes whose counts and values keep the store's
// limits; otherwise Corrupted and `store` unchanged.
ProjectFileStatus ReadProjectBytes(const uint8_t* bytes, std::size_t size, ConfigStore& store,
                                   std::string* problem = nullptr);

// Writes the store's 13880 bytes; Ok only when all of them were written.
ProjectFileStatus WriteProjectFile(const std::string& path, const ConfigStore& store);

// The operator's message for a status ("File corrupted!", ...); empty for Ok.
const char* ProjectFileMessage(ProjectFileStatus status);

} // namespace kv
