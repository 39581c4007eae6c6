#include "tables/rate.h"

#include "model/config_store.h"

namespace kv {
namespace {

// Slots that get one extra clock period for the remainder tenths R, spread so
// that every ten packets last exactly K / rate periods.
constexpr bool ExtraPeriod[10][10] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // R = 0
    {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, // R = 1: slot 1
    {0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, // R = 2: slots 4, 9
    {0, 0, 1, 0, 0, 0, 1, 0, 0, 1}, // R = 3: slots 2, 6, 9
    {0, 1, 0, 1, 0, 1, 0, 1, 0, 0}, // R = 4: slots 1, 3, 5, 7
    {1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, // R = 5: slots 0, 2, 4, 6, 8
    {1, 0, 1, 1, 0, 1, 0, 1, 1, 0}, // R = 6: slots 0, 2, 3, 5, 7, 8
    {1, 1, 0, 1, 1, 0, 1, 1, 0, 1}, // R = 7: slots 0, 1, 3, 4, 6, 7, 9
    {1, 1, 1, 1, 1, 0, 1, 1, 0, 1}, // R = 8: slots 0, 1, 2, 3, 4, 6, 7, 9
    {1, 1, 1, 1, 1, 0, 1, 1, 1, 1}, // R = 9: slots 0, 1, 2, 3, 4, 6, 7, 8, 9
};

constexpr int64_t PacketPeriods = 188; // one byte per 27 MHz period
constexpr int64_t ByteGaps = 187;      // gaps between the bytes of a packet
constexpr int64_t MaxStuff = 255;

// Below these the slots pass 32767: EffectiveBitRate, summing them as signed
// 16 bits, would read back another rate than the one sent.
constexpr int64_t MinExactRateByte = 503571;
constexpr int64_t MinExactRatePack = 1232223;

} // namespace

RateTable ComputeRateGaps(int32_t rate, bool byteMode) {
    RateTable table;
    if (rate <= 0) return table; // the bit-rate box never asks for this; no division by zero
    const int64_t b = RateConstant / rate;
    const int64_t c = b / 10;
    const int64_t r = b - 10 * c;
    int64_t stuff = 0;
    if (byteMode) {
        stuff = (c - PacketPeriods) / PacketPeriods;
        // Taken as unsigned 16 bits, so a negative value (rate above the top) caps too.
        if (static_cast<uint16_t>(stuff) > MaxStuff) stuff = MaxStuff;
    }
    const int64_t base = c - PacketPeriods - ByteGaps * stuff;
    for (int slot = 0; slot < RateSlots; ++slot)
        table.Gaps[slot] = static_cast<int16_t>(base + (ExtraPeriod[r][slot] ? 1 : 0));
    table.Stuff = static_cast<int16_t>(stuff);
    return table;
}

int64_t EffectiveBitRate(const int16_t gaps[10], int16_t stuff) {
    int64_t divisor = 1870 * static_cast<int64_t>(stuff) + 1880;
    for (int slot = 0; slot < RateSlots; ++slot) divisor += gaps[slot];
    if (divisor <= 0) return 0;
    return RateConstant / divisor;
}

int64_t MinExactRate(bool byteMode) {
    return byteMode ? MinExactRateByte : MinExactRatePack;
}

bool RateInExactRange(int64_t rate, bool byteMode) {
    return rate >= MinExactRate(byteMode) && rate <= MaxExactRate;
}

} // namespace kv
