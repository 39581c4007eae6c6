#include "model/store_invariants.h"

#include <cstring>

#include "model/service_streams.h"

namespace kv {
namespace {

bool PidOk(int16_t pid) {
    return pid >= 0 && pid <= PidNone;
}

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

std::optional<std::string> StoreInvariantViolation(const ConfigStore& s) {
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
        if (sb.SvcInput[i] < 0 || sb.SvcInput[i] > InputCount) return Slot("input", i);
        if (!PidOk(sb.SvcPmtPid[i])) return Slot("PMT PID", i);
        const ServiceInfo& info = sb.SvcInfo[i];
        if (!Terminated(info.Name) || !Terminated(info.Provider)) return Slot("name", i);
        const ServicePids& p = sb.SvcPids[i];
        if (!PidOk(p.PmtPid)) return Slot("PID", i);
        for (const ConstStreamRef& s : StreamsOf(p)) {
            if (!PidOk(s.PidIn) || !PidOk(s.PidOut)) return Slot(PidFieldName(s.Kind), i);
            if (s.Kind == StreamKind::Data && !Terminated(p.Data[s.Slot].SubLang))
                return Slot("subtitle language", i);
        }
    }
    for (int j = 0; j < gb.GhostCount; ++j) {
        if (gb.GhostInput[j] < 0 || gb.GhostInput[j] > InputCount) return Slot("ghost input", j);
        if (!PidOk(gb.GhostPidIn[j]) || !PidOk(gb.GhostPidOut[j])) return Slot("ghost PID", j);
    }
    return std::nullopt;
}

} // namespace kv
