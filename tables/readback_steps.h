#pragma once
// The steps of the read-back parse that take image records apart (the
// signalling tables' readers sit beside their writers).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "model/config_store.h"
#include "model/service_streams.h"

namespace kv {

// Record `index` of the image, only when all of its 188 bytes are in it.
std::optional<std::span<const uint8_t>> RecordOfImage(std::span<const uint8_t> image, std::size_t index);

// The source (input and input PID) each service's stream took from the PID
// maps read so far; none yet when the stream took no pair.
struct StreamSources {
    std::array<std::array<std::optional<std::pair<int, int>>, StreamCount>, MaxServices> Taken{};
};

// One PID map record (B8 01) of input index a (0..7): input PIDs of the
// services' streams, and ghost entries for pairs no service claims. A stream
// takes the first pair on its output PID, and again only pairs of the same
// source: a pair of another source on that PID (two sources on one output
// PID) becomes a ghost entry, so the conflict stays visible.
void ReadBackPidMap(std::span<const uint8_t> record, int a, ConfigStore& store, StreamSources& sources);

} // namespace kv
