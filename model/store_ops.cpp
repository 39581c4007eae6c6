#include "model/store_ops.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kv {

void InitServiceSlots(ServiceBlock& sb, int n) {
    n = std::clamp(n, 0, MaxServices);
    for (int i = 0; i < n; ++i) {
        sb.SvcInput[i] = 0;
        sb.SvcPmtPid[i] = PidNone;
        std::strcpy(sb.SvcInfo[i].Name, " ");
        std::strcpy(sb.SvcInfo[i].Provider, " ");
        ServicePids& p = sb.SvcPids[i];
        p.PmtPid = p.PcrIn = p.PcrOut = p.VideoIn = p.VideoOut = PidNone;
        for (AudioSlot& a : p.Audio) a.PidIn = a.PidOut = PidNone;
        for (DataSlot& d : p.Data) d.PidIn = d.PidOut = PidNone;
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
        auto counts = [](int16_t pid) { return pid < PidNone ? 1 : 0; };
        for (const AudioSlot& a : p.Audio) total += counts(a.PidOut);
        for (const DataSlot& d : p.Data) total += counts(d.PidOut);
        total += counts(p.VideoOut);
    }
    return total;
}

bool PidLimitReached(const ConfigStore& store, int input) {
    return InputPidCount(store, input) >= PidsPerInput;
}

} // namespace kv
