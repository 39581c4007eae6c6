#pragma once
// The invariants every writer of the store keeps. Readers of untrusted bytes
// (project files, the device's image) check them before the store takes the
// bytes over.

#include <optional>
#include <string>

#include "model/config_store.h"

namespace kv {

// Empty when the store can be walked: SvcCount 0..100, GhostCount 0..352,
// every string of a used slot (and NetName) NUL-terminated within its field.
// Otherwise what is wrong, in words. A project file is refused only for this;
// PIDs and inputs out of range are the multiplex check's errors.
std::optional<std::string> StoreStructureViolation(const ConfigStore& store);

// The structure, and every PID of a used slot 0..8191 and every input 0..8:
// what every writer of the store, and the read-back of the device's image, keeps.
std::optional<std::string> StoreInvariantViolation(const ConfigStore& store);

} // namespace kv
