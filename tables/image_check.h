#pragma once
// Whether bytes given as a configuration image are one: what the read-back
// parse makes of anything else is an empty configuration that would wipe a
// device when sent.

#include <cstdint>
#include <string>
#include <vector>

#include "tables/readback_parse.h"

namespace kv {

// What is wrong with `image`, in words, one entry per fault; empty when it is
// a configuration image and the parse (`parsed`, of the same bytes) found
// every part of it. An image without services (a header stating 2068 bytes,
// eleven records) holds no PAT and is whole without one.
std::vector<std::string> ImageDecodeProblems(const std::vector<uint8_t>& image, const ReadBackResult& parsed);

} // namespace kv
