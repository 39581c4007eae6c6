#include "ops/editor_pid_rules.h"

#include <functional>
#include <memory>
#include <vector>

#include "ops/output_pid_uses.h"

namespace kv {
namespace {

// Who holds a PID, as the refusal names it: "NEWS (video)", "the SDT",
// "the PMT of NEWS", "a ghost entry (IN 2, PID 80)".
std::string Holder(const ConfigStore& store, const PidUse& use) {
    switch (use.what) {
    case PidUse::What::Table:
    case PidUse::What::Pmt:
        return "the " + use.Carries;
    case PidUse::What::Stream:
        return ServiceNameOf(store, use.Slot) + " (" + StreamName(use.Kind, use.StreamSlot) + ")";
    case PidUse::What::Ghost:
        return "a ghost entry (IN " + std::to_string(use.Input) + ", PID " + std::to_string(use.InputPid) +
               ")";
    }
    return {};
}

// A PCR on the video PID of its service is named by the video it rides on.
std::size_t NamedHolder(const std::vector<PidUse>& uses, std::size_t mine, std::size_t holder) {
    const PidUse& h = uses[holder];
    if (h.what != PidUse::What::Stream || h.Kind != StreamKind::Pcr) return holder;
    for (std::size_t o = holder + 1; o < uses.size(); ++o)
        if (o != mine && uses[o].what == PidUse::What::Stream && uses[o].Slot == h.Slot &&
            uses[o].Pid == h.Pid && uses[o].InputPid == h.InputPid)
            return o;
    return holder;
}

struct Clash {
    PidUse Mine;
    std::string Message;
};

// The first use that `isMine` picks and that clashes with another use.
std::optional<Clash> FirstClash(const ConfigStore& store, Radix radix,
                                const std::function<bool(const PidUse&)>& isMine) {
    const std::vector<PidUse> uses = OutputPidUses(store);
    for (std::size_t k = 0; k < uses.size(); ++k) {
        if (!isMine(uses[k])) continue;
        for (std::size_t o = 0; o < uses.size(); ++o) {
            if (o == k || !UsesClash(uses[k], uses[o])) continue;
            o = NamedHolder(uses, k, o);
            const std::string pid = TrimBlanks(FormatPidForBox(static_cast<int16_t>(uses[k].Pid), radix));
            return Clash{uses[k],
                         "Output PID " + pid + " is already used by " + Holder(store, uses[o]) + "."};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<PidRefusal> ServicePidRefusal(const ConfigStore& withEntry, int slot, Radix radix) {
    const auto clash = FirstClash(withEntry, radix, [slot](const PidUse& use) {
        return use.Slot == slot && (use.what == PidUse::What::Pmt || use.what == PidUse::What::Stream);
    });
    if (!clash) return std::nullopt;
    const PidUse& mine = clash->Mine;
    return PidRefusal{mine.what == PidUse::What::Pmt ? PmtBox : StreamIndex(mine.Kind, mine.StreamSlot),
                      clash->Message};
}

std::optional<PidRefusal> ServiceEntryPidRefusal(const ConfigStore& store, const ServiceEntry& entry,
                                                 Radix radix, const ServiceSlot& slot) {
    if (slot.Idx < 0 || slot.Idx >= MaxServices) return std::nullopt;
    auto scratch = std::make_unique<ConfigStore>(store);
    StoreServiceEntry(scratch->Svc, entry, radix, slot, "");
    return ServicePidRefusal(*scratch, slot.Idx, radix);
}

std::optional<std::string> GhostRowPidRefusal(const ConfigStore& store, const GhostRows& rows, int row,
                                              Radix radix) {
    auto scratch = std::make_unique<ConfigStore>(store);
    rows.WriteTo(scratch->Ghost);
    const auto clash = FirstClash(*scratch, radix, [row](const PidUse& use) {
        return use.what == PidUse::What::Ghost && use.Slot == row;
    });
    if (!clash) return std::nullopt;
    return clash->Message;
}

} // namespace kv
