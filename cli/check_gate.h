#pragma once
// `send` and `image` refuse a project the multiplex check finds errors in,
// unless --force is given.

#include <string>

#include <CLI/CLI.hpp>

#include "model/config_store.h"

namespace kv::cli {

void AddForceOption(CLI::App& cmd, bool& force);

// 0 when the check finds no errors or `force` is set (the findings are still
// reported); otherwise ExitDataErr, every finding on stderr under `project`.
int RefuseOnErrors(const std::string& project, const ConfigStore& store, bool force);

} // namespace kv::cli
