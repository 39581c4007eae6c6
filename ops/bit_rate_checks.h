#pragma once
// What the bit-rate box's steps tell of a rate without changing a store:
// the warning of a rate out of range, and the mode whose pacing table a
// store carries for its rate. Descriptions name the mode by it.

#include <cstdint>
#include <optional>
#include <string>

#include "model/config_store.h"

namespace kv {

// "Bit rate must be between MIN and 216000000 (Bps)." with the mode's MIN.
std::string BitRateRangeWarning(bool byteMode);

// The mode (true for Byte) in which leaving the box with `rate` makes the
// pacing table in force; empty when neither does.
std::optional<bool> RateTableMode(const ConfigStore& store, int64_t rate);

} // namespace kv
