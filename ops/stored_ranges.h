#pragma once
// Values a project file may hold that no image can carry: a PID outside the
// 13 bits, an input outside 1..8. Project files of earlier versions of the
// tool open with them; the multiplex check reports each one as an error, and
// the image writer leaves such a stream or entry out.

#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv {

// One message per value, naming the service or ghost row:
// "NEWS: video out 9000 is not a PID (0..8191).",
// "Ghost row 3: input 9 is not an input (1..8)."
std::vector<std::string> OutOfRangeValues(const ConfigStore& store);

} // namespace kv
