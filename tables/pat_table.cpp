#include "tables/pat_table.h"

#include <algorithm>

#include "model/store_ops.h"
#include "tables/crc32.h"
#include "tables/legacy_reading.h"
#include "tables/section_framing.h"

namespace kv {
namespace {

// The section bytes beside the program entries: 5 after section_length, program 0 and the CRC.
constexpr int PatBytesBesideEntries = 13;

} // namespace

Packet BuildPatPacket(const ServiceBlock& sb, int patVersion) {
    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    BeginSectionPacket(w, PatPid);
    BeginSection(w, PatTableId, PsiLengthFlags, sb.TsId,
                 static_cast<unsigned>(patVersion)); // transport_stream_id
    w.u16(0);                                        // program_number 0
    w.pid(NitPid);                                   // reserved '111', network_PID
    ExpectAt(w.position(), PatFirstProgramAt);
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

std::optional<PatReadBack> ReadBackPat(std::span<const uint8_t> packet, ServiceBlock& sb) {
    if (!legacy::IsPacketOnPid(packet, PatPid)) return std::nullopt;
    SectionCursor c(packet);
    const SectionHead head = ReadSectionHead(c);
    const int n =
        (static_cast<int>(head.Length) - PatBytesBesideEntries) / static_cast<int>(PatProgramEntrySize);
    if (n < 0 || n > MaxPatServices) return std::nullopt;

    sb.TsId = static_cast<uint16_t>(head.TableIdExtension);
    InitServiceSlots(sb, n);
    // Slots that were free may hold whatever a project file carried there;
    // their language codes keep three letters but must end within the field.
    for (int i = 0; i < n; ++i)
        for (DataSlot& d : sb.SvcPids[i].Data) d.SubLang[sizeof d.SubLang - 1] = '\0';
    sb.SvcCount = static_cast<int16_t>(n);

    c.skip(PatProgramEntrySize); // program_number 0, network_PID
    ExpectAt(c.position(), PatFirstProgramAt);
    for (int i = 0; i < n; ++i) {
        c.skip(2); // program_number
        sb.SvcPmtPid[i] = static_cast<int16_t>(c.pid());
    }
    return PatReadBack{n, static_cast<int>(head.Version)};
}

} // namespace kv
