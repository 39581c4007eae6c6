#pragma once
// The configurations `check`, `diff` and `verify` compare: a project file, or
// a configuration image decoded as "Get" decodes it.

#include <cstdint>
#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv::cli {

// The store of a project file, or of an image decoded as "Get" would. 0,
// ExitNoInput when the file cannot be read, ExitDataErr when it is neither or
// a part of the image is bad; the refusal reported.
int LoadConfiguration(const std::string& path, ConfigStore& store);

// The image sending `path` puts on the device: an image as it stands, or the
// image "Send Mux" builds of a project (refused, ExitDataErr, beyond the image
// limits). 0 or the exit status, the refusal reported.
int ImageToSend(const std::string& path, std::vector<uint8_t>& image);

// The image decoded as "Get" decodes it. 0, or ExitDataErr with every bad part
// reported under `subject`.
int DecodeAsGet(const std::string& subject, const std::vector<uint8_t>& image, ConfigStore& store);

} // namespace kv::cli
