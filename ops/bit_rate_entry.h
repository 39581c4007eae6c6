#pragma once
// What leaving the bit-rate box does to the store: the typed rate becomes
// BitRate, the box shows the effective rate, and the pacing table of the
// effective rate goes into both copies of the store. Shared by the window,
// "Send Mux", project Open and the command line.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/config_store.h"

namespace kv {

// The number the C library's atol reads: leading blanks, an optional sign,
// decimal digits up to the first other character; no digits give 0. Kept to
// 32 bits as the device tool always did.
int32_t AtolText(std::string_view text);

struct BitRateEntry {
    enum class Outcome {
        Ignored,    // empty box or number 0: nothing changes
        OutOfRange, // outside the exact range of the mode: nothing changes, warn
        Applied     // store updated, box shows EffectiveRate
    };
    Outcome outcome = Outcome::Ignored;
    int32_t EffectiveRate = 0;
    std::string Warning; // "Bit rate must be between MIN and 216000000 (Bps)." for OutOfRange
};

BitRateEntry ApplyBitRateEntry(ConfigStore& store, std::string_view boxText, bool byteMode);

// Whether the pacing table in force (the one the image carries) is the one
// leaving the bit-rate box with `rate` makes, in either mode.
bool RateTableIsOfRate(const ConfigStore& store, int64_t rate);

} // namespace kv
