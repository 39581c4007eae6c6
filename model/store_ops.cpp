#include "model/store_ops.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/service_streams.h"

namespace kv {

void InitServiceSlots(ServiceBlock& sb, int n) {
    n = std::clamp(n, 0, MaxServices);
    for (int i = 0; i < n; ++i) {
        sb.SvcInput[i] = 0;
        sb.SvcPmtPid[i] = PidNone;
        std::strcpy(sb.SvcInfo[i].Name, " ");
        std::strcpy(sb.SvcInfo[i].Provider, " ");
        ServicePids& p = sb.SvcPids[i];
        p.PmtPid = PidNone;
        for (const StreamRef& s : StreamsOf(p)) s.PidIn = s.PidOut = PidNone;
    }
}

void DeleteService(ServiceBlock& sb, int index, int count) {
    count = std::min(count, MaxServices);
    if (count <= 0) return;
    index = std::clamp(index, 0, count - 1);

    // Build the new block beside the old one, then clear and copy it back.
    auto fresh = std::make_unique<ServiceBlock>();
    std::memset(fresh.get(), 0, sizeof(ServiceBlock));
    int to = 0;
    for (int from = 0; from < count; ++from) {
        if (from == index) continue;
        fresh->SvcInput[to] = sb.SvcInput[from];
        fresh->SvcPmtPid[to] = sb.SvcPmtPid[from];
        fresh->SvcInfo[to] = sb.SvcInfo[from];
        fresh->SvcPids[to] = sb.SvcPids[from];
        ++to;
    }
    fresh->SvcCount = static_cast<int16_t>(count - 1);
    fresh->TsId = sb.TsId;
    // NetName .. BitRate is one 48-byte piece that moves as a unit.
    constexpr std::size_t pieceStart = offsetof(ServiceBlock, NetName);
    constexpr std::size_t pieceEnd = offsetof(ServiceBlock, SvcPids);
    static_assert(pieceEnd - pieceStart == 48);
    std::memcpy(reinterpret_cast<char*>(fresh.get()) + pieceStart,
                reinterpret_cast<const char*>(&sb) + pieceStart, pieceEnd - pieceStart);

    std::memset(&sb, 0, sizeof(ServiceBlock));
    std::memcpy(&sb, fresh.get(), sizeof(ServiceBlock));
}

int InputPidCount(const ConfigStore& store, int input) {
    int total = 0;
    const int ghosts = std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < ghosts; ++j)
        if (store.Ghost.GhostInput[j] == input) ++total;

    const int services = std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
    for (int i = 0; i < services; ++i) {
        if (store.Svc.SvcInput[i] != input) continue;
        const ServicePids& p = store.Svc.SvcPids[i];
        // Video, audio and data outputs count; the PCR does not.
        for (const ConstStreamRef& s : StreamsOf(p))
            if (s.Kind != StreamKind::Pcr && s.PidOut < PidNone) ++total;
    }
    return total;
}

bool PidLimitReached(const ConfigStore& store, int input) {
    return InputPidCount(store, input) >= PidsPerInput;
}

} // namespace kv
