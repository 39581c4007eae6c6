#pragma once
// The configuration store as JSON, field names as in the store.

#include <nlohmann/json.hpp>
#include <string>

#include "model/config_store.h"

namespace kv::cli {

// Counts, network and rate fields, then `services` (slots below SvcCount)
// and `ghosts` (entries below GhostCount). Strings are the stored bytes up
// to their NUL; counts outside the store's limits are cut to them.
nlohmann::json StoreToJson(const ConfigStore& store);

// Indented JSON text; bytes of a name that are not UTF-8 print as U+FFFD.
std::string JsonText(const nlohmann::json& json);

} // namespace kv::cli
