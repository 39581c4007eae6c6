#pragma once
// The steps of the read-back parse that take image records apart (the
// signalling tables' readers sit beside their writers).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "model/config_store.h"

namespace kv {

// Record `index` of the image, only when all of its 188 bytes are in it.
std::optional<std::span<const uint8_t>> RecordOfImage(std::span<const uint8_t> image, std::size_t index);

// One PID map record (B8 01) of input index a (0..7): input PIDs of the
// services' streams, and ghost entries for pairs no service claims.
void ReadBackPidMap(std::span<const uint8_t> record, int a, ConfigStore& store);

} // namespace kv
