#pragma once
// The steps that `image` and `send` share on the way from a project to its
// configuration image, and that `decode` and `get` share on the way back.

#include <string>

#include "model/config_store.h"

namespace kv::cli {

// False, with the operator's message on stderr ("Limited 41 programs per
// Mux." ...), when no image can hold the store.
bool StoreFitsImage(const ConfigStore& store);

// The project file a freshly started program saves after "Get" of the image
// in `imagePath`; "Error in file." messages of the parse go to stderr.
// 0, or ExitDataErr when the image cannot be read or the project not written.
int DecodeImageFile(const std::string& imagePath, const std::string& projectPath);

} // namespace kv::cli
