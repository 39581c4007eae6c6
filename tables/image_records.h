#pragma once
// The image records around the signalling packets: header, PID maps, the
// reserved map and the PCR list.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/config_store.h"
#include "tables/image_layout.h"

namespace kv {

using Record = std::array<uint8_t, RecordSize>;

struct PidPair {
    int16_t In;
    int16_t Out;
};

// The pairs the PID map of `input` (1..8) carries, in map order: per service
// on that input (store order) PCR, video, audio 0..3, data 0..1, each only
// when its output PID is not 8191; then every ghost entry on that input.
std::vector<PidPair> PidPairsOfInput(const ConfigStore& store, int input);

// Services whose PCR goes into list A: PcrOut not 8191 and PcrAdjust set.
int AdjustedPcrCount(const ConfigStore& store);

Record BuildHeaderRecord(const int16_t gaps[10], int16_t stuff, std::size_t imageLength);
// Unused pairs read 8191, 8191; pairs beyond the 44 that fit are left out.
Record BuildPidMapRecord(int input, std::span<const PidPair> pairs);
Record BuildReservedMapRecord();
Record BuildPcrListRecord(const ConfigStore& store);

} // namespace kv
