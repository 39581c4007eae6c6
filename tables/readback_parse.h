#pragma once
// The file-to-store half of "Get": the device's image, parsed at the fixed
// record positions of the image layout, back into the store.

#include <cstdint>
#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv {

struct ReadBackResult {
    int ServiceCount = 0;              // N read from the PAT; 0 when it was not recognised
    int PatVersion = -1;               // version_number of the PAT read back, -1 when none
    std::string NetNameShown;          // the NIT name for the network box (empty when no NIT)
    std::vector<std::string> Messages; // "Error in file." once per bad PID map, in order
    std::vector<int> BadPidMapInputs;  // the input (1..8) of each of those messages
};

// Untrusted device bytes: every offset is bounds-checked, the store keeps its
// invariants whatever the bytes are.
ReadBackResult ParseReadBack(const std::vector<uint8_t>& image, ConfigStore& store);

} // namespace kv
