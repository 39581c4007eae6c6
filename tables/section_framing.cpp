#include "tables/section_framing.h"

#include "tables/ts_packet.h"

namespace kv {

void BeginSectionPacket(SectionWriter& w, int pid, bool unitStart) {
    const unsigned startFlag = unitStart ? 0x4000u : 0u;
    w.u8(SyncByte);                     // sync_byte
    w.u16(startFlag | CarriedPid(pid)); // payload_unit_start_indicator, PID
    w.u8(0x10);                         // adaptation_field_control '01', continuity_counter
    w.u8(0x00);                         // pointer_field
}

void BeginSection(SectionWriter& w, uint8_t tableId, uint8_t lengthFlags, unsigned tableIdExtension,
                  unsigned version) {
    w.u8(tableId);                         // table_id
    w.u8(lengthFlags);                     // section_syntax_indicator .. section_length bits 11..8
    w.u8(0x00);                            // section_length bits 7..0
    w.u16(tableIdExtension);               // table_id_extension
    w.u8(0xC1 | ((version & 0x1Fu) << 1)); // reserved '11', version_number, current_next_indicator 1
    w.u8(0x00);                            // section_number
    w.u8(0x00);                            // last_section_number
}

void SetSectionLength(std::span<uint8_t> buffer, std::size_t crcAt) {
    if (buffer.size() < 8 || crcAt < 8) return;
    const std::size_t length = crcAt + 4 - 8;
    buffer[6] = static_cast<uint8_t>((buffer[6] & 0xF0u) | ((length >> 8) & 0x0Fu));
    buffer[7] = static_cast<uint8_t>(length);
}

SectionHead ReadSectionHead(SectionCursor& c) {
    SectionHead start;
    start.Sync = c.u8();
    start.Pid = c.pid();
    c.skip(2); // adaptation_field_control and continuity_counter, pointer_field
    start.TableId = static_cast<uint8_t>(c.u8());
    start.Length = c.u16() & 0x0FFFu;
    start.TableIdExtension = c.u16();
    start.Version = (c.u8() & 0x3Eu) >> 1;
    c.skip(2); // section_number, last_section_number
    return start;
}

} // namespace kv
