#include "ops/ghost_rows.h"

#include <algorithm>
#include <optional>

#include "model/store_ops.h"

namespace kv {
namespace {

// A PID text yields its leading number in the radix; a text without one
// (empty, or only '.' and ',') yields nothing.
std::optional<int> PidValue(std::string_view text, Radix radix) {
    if (text.empty()) return std::nullopt;
    return ScanLeadingNumber(text, radix);
}

bool InPidRange(int value) {
    return value >= 0 && value <= GhostPidMax;
}

} // namespace

GhostRowTexts TextsOf(const GhostRow& row) {
    return {std::to_string(row.Input), FormatCell(row.PidIn, row.Shown), FormatCell(row.PidOut, row.Shown)};
}

void GhostRows::LoadFrom(const GhostBlock& ghosts) {
    rows_.clear();
    const int count = std::clamp<int>(ghosts.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < count; ++j)
        rows_.push_back({ghosts.GhostInput[j], ghosts.GhostPidIn[j], ghosts.GhostPidOut[j], Radix::Decimal});
}

GhostAddOutcome GhostRows::Add(const ConfigStore& store, int selected, int input, std::string_view pidInText,
                               std::string_view pidOutText, Radix radix) {
    if (selected < 0 || selected >= Count()) selected = -1;

    const std::optional<int> pidIn = PidValue(pidInText, radix);
    const std::optional<int> pidOut = PidValue(pidOutText, radix);
    if (!pidIn || !pidOut) return {GhostNeedBothPids};

    // Only a new row needs room: the store's count for the input (rows added
    // since the editor opened are not in the store yet), and a ghost slot.
    if (selected < 0) {
        if (PidLimitReached(store, input)) return {GhostInputLimit};
        if (Count() >= MaxGhosts) return {GhostTableLimit};
    }

    if (!InPidRange(*pidIn) || !InPidRange(*pidOut)) return {GhostPidOutOfRange};

    const GhostRow row{input, *pidIn, *pidOut, radix};
    const GhostRowTexts texts = TextsOf(row);
    const bool duplicate =
        std::any_of(rows_.begin(), rows_.end(), [&](const GhostRow& r) { return TextsOf(r) == texts; });
    if (duplicate) return {GhostDuplicate};

    if (selected >= 0) {
        rows_[static_cast<std::size_t>(selected)] = row;
        return {nullptr, true, selected};
    }
    rows_.push_back(row);
    return {nullptr, false, Count() - 1};
}

bool GhostRows::Remove(int index) {
    if (index < 0 || index >= Count()) return false;
    rows_.erase(rows_.begin() + index);
    return true;
}

void GhostRows::WriteTo(GhostBlock& ghosts) const {
    const int count = std::min(Count(), MaxGhosts);
    for (int j = 0; j < count; ++j) {
        const GhostRow& r = rows_[static_cast<std::size_t>(j)];
        ghosts.GhostInput[j] = static_cast<int16_t>(r.Input);
        ghosts.GhostPidIn[j] = static_cast<int16_t>(r.PidIn);
        ghosts.GhostPidOut[j] = static_cast<int16_t>(r.PidOut);
    }
    ghosts.GhostCount = static_cast<int16_t>(count);
}

} // namespace kv
