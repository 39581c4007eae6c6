#include "tables/image_records.h"

#include <algorithm>

#include "model/service_streams.h"
#include "tables/record_io.h"

namespace kv {
namespace {

Record NewImageRecord(RecordType type) {
    Record record{};
    record[0] = ImageRecordMark;
    record[RecordTypeAt] = type;
    return record;
}

int ServiceCountOf(const ConfigStore& store) {
    return std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
}

bool HasPcr(const ServicePids& p) {
    return p.PcrOut != PidNone;
}

} // namespace

std::vector<PidPair> PidPairsOfInput(const ConfigStore& store, int input) {
    std::vector<PidPair> pairs;
    for (int i = 0; i < ServiceCountOf(store); ++i) {
        if (store.Svc.SvcInput[i] != input) continue;
        for (const ConstStreamRef& s : StreamsOf(store.Svc.SvcPids[i]))
            if (HasStream(s)) pairs.push_back({s.PidIn, s.PidOut});
    }
    const int ghosts = std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < ghosts; ++j)
        if (store.Ghost.GhostInput[j] == input && PidInRange(store.Ghost.GhostPidIn[j]) &&
            PidInRange(store.Ghost.GhostPidOut[j]))
            pairs.push_back({store.Ghost.GhostPidIn[j], store.Ghost.GhostPidOut[j]});
    return pairs;
}

int AdjustedPcrCount(const ConfigStore& store) {
    int count = 0;
    for (int i = 0; i < ServiceCountOf(store); ++i) {
        const ServicePids& p = store.Svc.SvcPids[i];
        if (HasPcr(p) && p.PcrAdjust != 0) ++count;
    }
    return count;
}

Record BuildHeaderRecord(const int16_t gaps[10], int16_t stuff, std::size_t imageLength) {
    Record record = NewImageRecord(HeaderRecord);
    RecordWriter w(record);
    const uint32_t length = static_cast<uint32_t>(imageLength) + HeaderLengthTag;
    w.u16(HeaderLengthAt, length);
    w.u8(HeaderLengthAt + 2, length >> 16);
    for (int slot = 0; slot < RateSlots; ++slot) w.u16(HeaderGapAt(slot), static_cast<uint16_t>(gaps[slot]));
    w.u8(HeaderStuffAt, static_cast<uint8_t>(stuff));
    return record;
}

Record BuildPidMapRecord(int input, std::span<const PidPair> pairs) {
    Record record = NewImageRecord(PidMapRecord);
    RecordWriter w(record);
    w.u8(PidMapInputAt, static_cast<unsigned>(input - 1));
    for (int k = 0; k < PidMapPairs; ++k) {
        const bool used = static_cast<std::size_t>(k) < pairs.size();
        w.pid(PidMapPairAt(k), used ? pairs[k].In : PidNone);
        w.pid(PidMapPairAt(k) + 2, used ? pairs[k].Out : PidNone);
    }
    return record;
}

Record BuildReservedMapRecord() {
    Record record = NewImageRecord(PidMapRecord);
    record[PidMapInputAt] = ReservedMapInput;
    return record;
}

Record BuildPcrListRecord(const ConfigStore& store) {
    Record record = NewImageRecord(PcrListRecord);
    RecordWriter w(record);
    for (int slot = 0; slot < PcrListASlots; ++slot) w.pid(PcrListAAt + 2 * slot, PidNone);
    int inListA = 0;
    int inListB = 0;
    for (int i = 0; i < ServiceCountOf(store); ++i) {
        const ServicePids& p = store.Svc.SvcPids[i];
        if (!HasPcr(p)) continue;
        const bool adjusted = p.PcrAdjust != 0;
        if (adjusted && inListA < PcrListASlots) w.pid(PcrListAAt + 2 * inListA++, p.PcrOut);
        if (inListB < PcrListBSlots)
            w.pid(PcrListBAt + 2 * inListB++, p.PcrOut, adjusted ? PcrAdjustedFlag : 0);
    }
    return record;
}

} // namespace kv
