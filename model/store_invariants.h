#pragma once
// The invariants every writer of the store keeps. Readers of untrusted bytes
// (project files, the device's image) check them before the store takes the
// bytes over.

#include <optional>
#include <string>

#include "model/config_store.h"

namespace kv {

// Empty when the store holds: SvcCount 0..100, GhostCount 0..352, every PID
// of a used slot 0..8191, every input 0..8, every string of a used slot (and
// NetName) NUL-terminated within its field. Otherwise what is wrong, in words.
std::optional<std::string> StoreInvariantViolation(const ConfigStore& store);

} // namespace kv
