#pragma once
// Moves a fuzzed store towards one the multiplex check passes, so that more
// mutated project files reach the round trip of "Send Mux" and "Get": every
// input and PID into its range, the PAT's PMT PID equal to the PMT's, service
// IDs distinct, services sharing a PCR PID agreeing on its adjustment, and
// no output PID carried from two sources or beside a generated table (a PMT
// moves to a free PID, a stream is dropped, a ghost entry takes the source
// already on its PID).

#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "model/config_store.h"
#include "model/service_streams.h"
#include "ops/output_pid_uses.h"

namespace kv::fuzz {

inline int16_t TidyInput(int input) {
    return static_cast<int16_t>(1 + std::abs(input - 1) % InputCount);
}

// An absent PID stays absent; any other goes into 32..8190.
inline int16_t TidyPid(int pid) {
    if (pid == PidNone || (pid >= 32 && pid <= 8190)) return static_cast<int16_t>(pid);
    return static_cast<int16_t>(32 + std::abs(pid) % (8190 - 32 + 1));
}

// Output PIDs taken so far, with their source (input, input PID); a
// generated table's source is {0, -1}.
class OutputPids {
  public:
    static constexpr std::pair<int, int> Generated{0, -1};

    // True when `pid` may carry `source`; it is then taken.
    bool Take(int pid, std::pair<int, int> source) {
        const auto [at, fresh] = taken_.try_emplace(pid, source);
        return fresh || (source != Generated && at->second == source);
    }
    // The first free PID from `pid` on, taken for a generated table.
    int TakeFree(int pid) {
        while (taken_.count(pid)) pid = pid >= 8190 ? 32 : pid + 1;
        taken_.emplace(pid, Generated);
        return pid;
    }
    std::pair<int, int> SourceOn(int pid) const { return taken_.at(pid); }

  private:
    std::map<int, std::pair<int, int>> taken_;
};

inline void TidyOutputPids(ConfigStore& store) {
    OutputPids taken;
    const int services = ServicesOf(store);
    if (services > 0)
        for (int pid : {0, 16, 17}) taken.Take(pid, OutputPids::Generated);
    for (int i = 0; i < services; ++i) {
        ServicePids& p = store.Svc.SvcPids[i];
        if (p.GenPmt == 0 || p.PmtPid == PidNone) continue;
        p.PmtPid = static_cast<int16_t>(taken.TakeFree(p.PmtPid));
        store.Svc.SvcPmtPid[i] = p.PmtPid;
    }
    for (int i = 0; i < services; ++i)
        for (const StreamRef& s : StreamsOf(store.Svc.SvcPids[i]))
            if (HasStream(s) && !taken.Take(s.PidOut, {store.Svc.SvcInput[i], s.PidIn})) s.PidOut = PidNone;
    for (int g = 0; g < store.Ghost.GhostCount && g < MaxGhosts; ++g) {
        GhostBlock& gb = store.Ghost;
        if (taken.Take(gb.GhostPidOut[g], {gb.GhostInput[g], gb.GhostPidIn[g]})) continue;
        const auto source = taken.SourceOn(gb.GhostPidOut[g]);
        if (source == OutputPids::Generated)
            gb.GhostPidOut[g] = static_cast<int16_t>(taken.TakeFree(gb.GhostPidOut[g]));
        else
            std::tie(gb.GhostInput[g], gb.GhostPidIn[g]) = source;
    }
}

inline void TidyTowardsCheck(ConfigStore& store) {
    std::set<int> serviceIds;
    for (int i = 0; i < ServicesOf(store); ++i) {
        ServicePids& p = store.Svc.SvcPids[i];
        store.Svc.SvcInput[i] = TidyInput(store.Svc.SvcInput[i]);
        p.PmtPid = TidyPid(p.PmtPid);
        store.Svc.SvcPmtPid[i] = p.PmtPid;
        for (const StreamRef& s : StreamsOf(p)) {
            s.PidIn = TidyPid(s.PidIn);
            s.PidOut = TidyPid(s.PidOut);
        }
        while (!serviceIds.insert(p.ServiceId).second) ++p.ServiceId;
        for (int j = 0; j < i; ++j)
            if (store.Svc.SvcPids[j].PcrOut == p.PcrOut) p.PcrAdjust = store.Svc.SvcPids[j].PcrAdjust;
    }
    for (int g = 0; g < store.Ghost.GhostCount && g < MaxGhosts; ++g) {
        store.Ghost.GhostInput[g] = TidyInput(store.Ghost.GhostInput[g]);
        store.Ghost.GhostPidIn[g] = TidyPid(store.Ghost.GhostPidIn[g]);
        store.Ghost.GhostPidOut[g] = TidyPid(store.Ghost.GhostPidOut[g]);
    }
    TidyOutputPids(store);
}

} // namespace kv::fuzz
