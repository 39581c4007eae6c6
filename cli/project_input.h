#pragma once
// Loading the project file a command works on, with the operator's message
// on stderr when it is refused.

#include <string>

#include "model/config_store.h"

namespace kv::cli {

bool LoadProjectFile(const std::string& path, ConfigStore& store);

} // namespace kv::cli
