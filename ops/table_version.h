#pragma once
// The version number the signalling tables carry goes on from one run to the
// next: receivers take a changed table only when its version changes, so a
// restart must not send version 0 again over a device that holds it.

#include <optional>

#include "ops/device_files.h"

namespace kv {

// The PAT version of the image last sent or read back through the Config
// folder: of the image file and the read-back file, the newer one that holds
// a PAT. None when neither does.
std::optional<int> LastPatVersion(const DeviceFiles& files);

// The version the next "Send Mux" would advance from: the last one of the
// Config folder, or 0 when it has none (the first send then carries 1).
inline int PatVersionToGoOnFrom(const DeviceFiles& files) {
    return LastPatVersion(files).value_or(0);
}

} // namespace kv
