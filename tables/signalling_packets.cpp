#include "tables/signalling_packets.h"

#include <algorithm>

#include "tables/nit_table.h"
#include "tables/pat_table.h"
#include "tables/pmt_table.h"
#include "tables/sdt_table.h"

namespace kv {

std::vector<Packet> SignallingPackets(const ConfigStore& store, int patVersion) {
    std::vector<Packet> packets;
    // The PAT bounds what one image can describe; the image writer refuses more.
    const int count = std::clamp<int>(store.Svc.SvcCount, 0, MaxPatServices);
    if (count == 0) return packets;
    packets.push_back(BuildPatPacket(store.Svc, patVersion));
    packets.push_back(BuildNitPacket(store.Svc, patVersion));
    for (const Packet& sdt : PacketiseSdt(BuildSdtSection(store.Svc, patVersion))) packets.push_back(sdt);
    for (int i = 0; i < count; ++i) packets.push_back(BuildPmtPacket(store.Svc.SvcPids[i], patVersion));
    return packets;
}

} // namespace kv
