#include "model/store_invariants.h"

#include <cstring>

#include "model/service_streams.h"

namespace kv {
namespace {

template <std::size_t N> bool Terminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

const char* PidFieldName(StreamKind kind) {
    switch (kind) {
    case StreamKind::Audio:
        return "audio PID";
    case StreamKind::Data:
        return "data PID";
    default:
        return "PID";
    }
}

std::string Slot(const char* what, int i) {
    return std::string(what) + " of slot " + std::to_string(i);
}

} // namespace

std::optional<std::string> StoreStructureViolation(const ConfigStore& s) {
    const ServiceBlock& sb = s.Svc;
    const GhostBlock& gb = s.Ghost;
    if (sb.SvcCount < 0 || sb.SvcCount > MaxServices)
        return "service count " + std::to_string(sb.SvcCount) + " out of range 0.." +
               std::to_string(MaxServices);
    if (gb.GhostCount < 0 || gb.GhostCount > MaxGhosts)
        return "ghost count " + std::to_string(gb.GhostCount) + " out of range 0.." +
               std::to_string(MaxGhosts);
    if (!Terminated(sb.NetName)) return "network name not terminated";
    for (int i = 0; i < sb.SvcCount; ++i) {
        const ServiceInfo& info = sb.SvcInfo[i];
        if (!Terminated(info.Name) || !Terminated(info.Provider)) return Slot("name", i);
        for (const DataSlot& d : sb.SvcPids[i].Data)
            if (!Terminated(d.SubLang)) return Slot("subtitle language", i);
    }
    return std::nullopt;
}

std::optional<std::string> StoreInvariantViolation(const ConfigStore& s) {
    if (auto structure = StoreStructureViolation(s)) return structure;
    const ServiceBlock& sb = s.Svc;
    const GhostBlock& gb = s.Ghost;
    for (int i = 0; i < sb.SvcCount; ++i) {
        if (sb.SvcInput[i] < 0 || sb.SvcInput[i] > InputCount) return Slot("input", i);
        if (!PidInRange(sb.SvcPmtPid[i])) return Slot("PMT PID", i);
        const ServicePids& p = sb.SvcPids[i];
        if (!PidInRange(p.PmtPid)) return Slot("PID", i);
        for (const ConstStreamRef& st : StreamsOf(p))
            if (!PidInRange(st.PidIn) || !PidInRange(st.PidOut)) return Slot(PidFieldName(st.Kind), i);
    }
    for (int j = 0; j < gb.GhostCount; ++j) {
        if (gb.GhostInput[j] < 0 || gb.GhostInput[j] > InputCount) return Slot("ghost input", j);
        if (!PidInRange(gb.GhostPidIn[j]) || !PidInRange(gb.GhostPidOut[j])) return Slot("ghost PID", j);
    }
    return std::nullopt;
}

} // namespace kv
