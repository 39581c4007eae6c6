#pragma once
// The configuration image: header, eight PID maps, the reserved map, the PCR
// list and the signalling packets, as 188-byte records.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/config_store.h"
#include "tables/image_file.h"

namespace kv {

// Why no image can hold this store, in the words shown to the operator
// ("Limited 41 programs per Mux.", an input that needs more than 44 PID
// pairs, more than 32 adjusted PCRs); empty when an image can be built.
std::optional<std::string> ImageLimitViolation(const ConfigStore& store);
// Every limit this store exceeds, in the same words, in the order above.
std::vector<std::string> ImageLimitViolations(const ConfigStore& store);

// The image bytes (a multiple of 188). Precondition: no limit violation.
std::vector<uint8_t> BuildConfigImage(const ConfigStore& store, int patVersion);

} // namespace kv
