#pragma once
// What the main window shows after "Get", and the project file a freshly
// started program would save from it.

#include <cstdint>
#include <string>
#include <vector>

#include "model/config_store.h"
#include "tables/readback_parse.h"

namespace kv {

struct ReadBackDisplay {
    bool HasServices = false;              // services were read: the list and TSID box are refilled
    std::string NetName;                   // the NIT name read back (the window shows it only with services)
    int64_t BitRate = 0;                   // effective rate of the rate figures in force
    bool PackMode = false;                 // "Pack" when the stuffing value in force is 0
    std::string TsIdText;                  // "%d" of TsId
    std::vector<std::string> ProgramNames; // Name of each service in store order (with services only)
};

// The boxes after the parse: from RateGaps/RateStuff when services were
// read, else from the ghost copies.
ReadBackDisplay DisplayAfterReadBack(const ConfigStore& store, const ReadBackResult& r);

// The store a freshly started program saves after "Get" of this image: the
// parse applied to an all-zero store, then TsId and BitRate taken from the
// boxes as "Get" filled them (an empty TSID box gives 0).
ConfigStore DecodeImageToProject(const std::vector<uint8_t>& image, ReadBackResult* result = nullptr);

} // namespace kv
