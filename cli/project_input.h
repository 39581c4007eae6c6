#pragma once
// Loading the project file a command works on, with the operator's message,
// the file and the reason on stderr when it is refused.

#include <string>

#include "model/config_store.h"

namespace kv::cli {

// 0, ExitNoInput when the file cannot be opened, ExitDataErr when it is no
// project file (a configuration image is pointed to `decode`).
int LoadProjectFile(const std::string& path, ConfigStore& store);

} // namespace kv::cli
