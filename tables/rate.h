#pragma once
// Output rate arithmetic: bit rate <-> the device's pacing table (ten gap
// slots used in turn and one per-byte stuffing value).

#include <array>
#include <cstdint>

namespace kv {

// 27 000 000 x 188 x 8 x 10: ten times the 27 MHz periods of one packet at 1 bit/s.
inline constexpr int64_t RateConstant = 406080000000LL;
inline constexpr int64_t MaxExactRate = 216000000;

struct RateTable {
    std::array<int16_t, 10> Gaps{};
    int16_t Stuff = 0;
};

// rate > 0 in bit/s; byteMode: "Byte" (idle time spread between bytes) or "Pack".
// Slots keep their low 16 bits as the device stores them.
RateTable ComputeRateGaps(int32_t rate, bool byteMode);

// K / (sum of the slots as signed 16-bit + 1870 x stuff + 1880); 0 when that
// divisor is zero or negative (a table read back from a device can be anything).
int64_t EffectiveBitRate(const int16_t gaps[10], int16_t stuff);

// Lowest rate whose slots stay within 0..32767, so that the table reads back
// as the rate it was made from: 503 571 (Byte) or 1 232 223 (Pack).
int64_t MinExactRate(bool byteMode);
bool RateInExactRange(int64_t rate, bool byteMode);

} // namespace kv
