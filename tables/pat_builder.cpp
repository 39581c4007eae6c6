#include "tables/pat_builder.h"

#include <algorithm>

#include "tables/crc32.h"
#include "tables/section_framing.h"

namespace kv {

Packet BuildPatPacket(const ServiceBlock& sb, int patVersion) {
    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    BeginSectionPacket(w, PatPid);
    BeginSection(w, PatTableId, PsiLengthFlags, sb.TsId,
                 static_cast<unsigned>(patVersion)); // transport_stream_id
    w.u16(0);                                        // program_number 0
    w.pid(NitPid);                                   // reserved '111', network_PID
    // One program entry per service, in store order.
    const int count = std::clamp<int>(sb.SvcCount, 0, MaxPatServices);
    for (int i = 0; i < count; ++i) {
        w.u16(sb.SvcPids[i].ServiceId); // program_number
        w.pid(sb.SvcPmtPid[i]);         // reserved '111', program_map_PID
    }
    SetSectionLength(packet, w.position());
    SectionCrc32(packet); // CRC_32
    return packet;
}

} // namespace kv
