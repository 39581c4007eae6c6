#pragma once
// How `diff` and `verify` show the differences between two configurations.

#include "ops/multiplex_diff.h"

namespace kv::cli {

// The differences on stdout, one a line or as JSON: {"changes": [{"service",
// "field", "a", "b"}], "services_added", "services_removed", "ghosts_added",
// "ghosts_removed" (each ghost {"input", "input_pid", "pid"})}. 0 when there
// are none, 1 otherwise, as diff(1) exits.
int PrintDiff(const MultiplexDiff& diff, bool json);

} // namespace kv::cli
