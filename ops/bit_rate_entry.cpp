#include "ops/bit_rate_entry.h"

#include <algorithm>
#include <memory>

#include "model/pid_text.h"
#include "ops/bit_rate_checks.h"
#include "tables/rate.h"

namespace kv {
namespace {

// The rate the device yields for a typed rate: the Byte-mode table of that
// rate with its figures taken as unsigned 16 bits, low 32 bits of the quotient.
int32_t EffectiveRateOfEntry(int32_t rate) {
    const RateTable table = ComputeRateGaps(rate, true);
    int64_t divisor = 1870 * static_cast<int64_t>(static_cast<uint16_t>(table.Stuff)) + 1880;
    for (int16_t gap : table.Gaps) divisor += static_cast<uint16_t>(gap);
    return static_cast<int32_t>(static_cast<uint32_t>(RateConstant / divisor));
}

void StoreRateTable(ConfigStore& store, const RateTable& table) {
    std::copy(table.Gaps.begin(), table.Gaps.end(), store.Svc.RateGaps);
    std::copy(table.Gaps.begin(), table.Gaps.end(), store.Ghost.GhostRateGaps);
    store.Svc.RateStuff = table.Stuff;
    store.Ghost.GhostRateStuff = table.Stuff;
}

} // namespace

int32_t AtolText(std::string_view text) {
    return ScanLeadingNumber(text, Radix::Decimal).value_or(0);
}

std::string BitRateRangeWarning(bool byteMode) {
    return "Bit rate must be between " + std::to_string(MinExactRate(byteMode)) + " and " +
           std::to_string(MaxExactRate) + " (Bps).";
}

BitRateEntry ApplyBitRateEntry(ConfigStore& store, std::string_view boxText, bool byteMode) {
    BitRateEntry entry;
    const int32_t typed = AtolText(boxText);
    if (typed == 0) return entry; // an empty box reads as 0 too

    if (!RateInExactRange(typed, byteMode)) {
        entry.outcome = BitRateEntry::Outcome::OutOfRange;
        entry.Warning = BitRateRangeWarning(byteMode);
        return entry;
    }

    store.Svc.BitRate = typed;
    store.Ghost.GhostBitRate = typed;
    entry.EffectiveRate = EffectiveRateOfEntry(typed);
    // The figures come from the rate the box now shows, in the mode chosen.
    StoreRateTable(store, ComputeRateGaps(entry.EffectiveRate, byteMode));
    entry.outcome = BitRateEntry::Outcome::Applied;
    return entry;
}

bool RateTableIsOfRate(const ConfigStore& store, int64_t rate) {
    return RateTableMode(store, rate).has_value();
}

std::optional<bool> RateTableMode(const ConfigStore& store, int64_t rate) {
    for (bool byteMode : {true, false}) {
        auto scratch = std::make_unique<ConfigStore>(store);
        if (ApplyBitRateEntry(*scratch, std::to_string(rate), byteMode).outcome !=
            BitRateEntry::Outcome::Applied)
            continue;
        if (std::equal(scratch->Svc.RateGaps, scratch->Svc.RateGaps + RateSlots, ActiveRateGaps(store)) &&
            scratch->Svc.RateStuff == ActiveRateStuff(store))
            return byteMode;
    }
    return std::nullopt;
}

} // namespace kv
