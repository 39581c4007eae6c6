#pragma once
// Where everything sits in the configuration image: record indices and the
// byte positions inside the image records. The writer and the read-back
// parse both use these names, so the two stay in step.

#include <cstddef>
#include <cstdint>

#include "wire/record_format.h"

namespace kv {

// Record indices of an image that begins with its header (m = SdtExtraPackets).
inline constexpr std::size_t HeaderIndex = 0;
inline constexpr std::size_t PidMapIndex(int input) {
    return static_cast<std::size_t>(input);
} // inputs 1..8
inline constexpr std::size_t ReservedMapIndex = 9;
inline constexpr std::size_t PcrListIndex = 10;
inline constexpr std::size_t PatIndex = 11;
inline constexpr std::size_t NitIndex = 12;
inline constexpr std::size_t SdtIndex = 13;
inline constexpr std::size_t PmtIndex(int extraSdtPackets, int service) {
    return static_cast<std::size_t>(14 + extraSdtPackets + service);
}

// Header record (its length field at HeaderLengthAt).
inline constexpr std::size_t HeaderStuffAt = 12;
inline constexpr std::size_t HeaderGapAt(int slot) { // slot 0 at 10, slots 1..9 at 11 + 2k
    return slot == 0 ? 10 : 11 + 2 * static_cast<std::size_t>(slot);
}

// PID map record.
inline constexpr std::size_t PidMapInputAt = 9; // input number - 1, 0x0F for the reserved map
inline constexpr uint8_t ReservedMapInput = 0x0F;
inline constexpr std::size_t PidMapFirstPairAt = 12;
inline constexpr int PidMapPairs = 44;
inline constexpr std::size_t PidMapPairAt(int k) {
    return PidMapFirstPairAt + 4 * static_cast<std::size_t>(k);
}
static_assert(PidMapPairAt(PidMapPairs) == RecordSize, "44 pairs fill the record exactly");

// PCR list record: list A holds the adjusted PCR PIDs, list B every PCR PID
// with bit 15 set when adjusted.
inline constexpr std::size_t PcrListAAt = 12;
inline constexpr int PcrListASlots = 32;
inline constexpr std::size_t PcrListBAt = 80;
inline constexpr int PcrListBSlots = static_cast<int>((RecordSize - PcrListBAt) / 2); // 54
inline constexpr unsigned PcrAdjustedFlag = 0x8000;
static_assert(PcrListAAt + 2 * PcrListASlots <= PcrListBAt);

} // namespace kv
