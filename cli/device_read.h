#pragma once
// Reading the device's configuration as "Get" does, for `get` and `verify`.

#include <string>

#include "cli/cli_port.h"

namespace kv::cli {

// Captures the device's image into the Config folder's read-back file and
// gives its path. 0, 3 when nothing could be captured ("Mux memory is
// empty!"), ExitCantCreate when the Config folder cannot be written,
// ExitIoErr when the port cannot be opened, 128 + the signal when
// interrupted; the failure reported.
int ReadDeviceImage(const PortArguments& port, std::string& readBackPath);

} // namespace kv::cli
