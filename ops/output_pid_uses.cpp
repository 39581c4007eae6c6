#include "ops/output_pid_uses.h"

#include <algorithm>
#include <cstdio>

#include "model/pid_text.h"

namespace kv {

std::string ServiceNameOf(const ConfigStore& store, int slot) {
    if (slot < 0 || slot >= MaxServices) return {};
    const char* name = store.Svc.SvcInfo[slot].Name;
    const std::size_t size = sizeof store.Svc.SvcInfo[slot].Name;
    return TrimBlanks(std::string_view(name, std::find(name, name + size, '\0') - name));
}

int ServicesOf(const ConfigStore& store) {
    return std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
}

std::vector<PidUse> OutputPidUses(const ConfigStore& store) {
    std::vector<PidUse> uses;
    const int services = ServicesOf(store);
    if (services > 0) {
        // The tables exist whenever the image carries services.
        for (auto [pid, name] : {std::pair{PatPid, "PAT"}, {NitPid, "NIT"}, {SdtPid, "SDT"}})
            uses.push_back({.what = PidUse::What::Table, .Pid = pid, .Carries = name});
    }
    for (int i = 0; i < services; ++i) {
        const ServicePids& p = store.Svc.SvcPids[i];
        const std::string name = ServiceNameOf(store, i);
        if (p.GenPmt != 0 && p.PmtPid != PidNone && PidInRange(p.PmtPid))
            uses.push_back(
                {.what = PidUse::What::Pmt, .Pid = p.PmtPid, .Slot = i, .Carries = "PMT of " + name});
        const int input = store.Svc.SvcInput[i];
        for (const ConstStreamRef& s : StreamsOf(p)) {
            if (!HasStream(s)) continue;
            uses.push_back({.what = PidUse::What::Stream,
                            .Pid = s.PidOut,
                            .Slot = i,
                            .Kind = s.Kind,
                            .StreamSlot = s.Slot,
                            .Input = input,
                            .InputPid = s.PidIn,
                            .Carries = StreamName(s.Kind, s.Slot) + " of " + name});
        }
    }
    const int ghosts = std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < ghosts; ++j)
        uses.push_back({.what = PidUse::What::Ghost,
                        .Pid = store.Ghost.GhostPidOut[j],
                        .Slot = j,
                        .Input = store.Ghost.GhostInput[j],
                        .InputPid = store.Ghost.GhostPidIn[j],
                        .Carries = "ghost"});
    return uses;
}

bool UsesClash(const PidUse& a, const PidUse& b) {
    if (a.Pid != b.Pid) return false;
    if (a.Generated() || b.Generated()) return true;
    return a.Input != b.Input || a.InputPid != b.InputPid;
}

std::string PidText(int pid) {
    char text[32];
    std::snprintf(text, sizeof text, "%d (0x%04X)", pid, static_cast<unsigned>(pid) & 0xFFFFu);
    return text;
}

std::string UseText(const PidUse& use) {
    if (use.Generated()) return "the " + use.Carries;
    return use.Carries + " (IN " + std::to_string(use.Input) + ", PID " + std::to_string(use.InputPid) + ")";
}

} // namespace kv
