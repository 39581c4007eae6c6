#include "tables/sdt_table.h"

#include <algorithm>

#include "tables/crc32.h"
#include "tables/legacy_reading.h"
#include "tables/pat_table.h"
#include "tables/section_framing.h"

namespace kv {
namespace {

constexpr int ServicesInFirstPacket = 5;
constexpr int ServicesPerContinuation = 6;

constexpr uint8_t ServiceDescriptor = 0x48;
constexpr uint8_t DigitalTelevision = 0x01;

void WriteName(SectionWriter& w, const char (&field)[11]) {
    w.u8(MaxNameLength); // name length: always the 10 stored bytes
    for (int i = 0; i < MaxNameLength; ++i) w.u8(static_cast<unsigned char>(field[i]));
}

// Reads the 10 name bytes after the length byte and keeps the field terminated.
void ReadName(SectionCursor& c, char (&field)[11]) {
    c.skip(1); // name length
    static_assert(legacy::SdtNameBytes == MaxNameLength);
    for (int i = 0; i < MaxNameLength; ++i) field[i] = static_cast<char>(c.u8());
    field[MaxNameLength] = '\0';
}

} // namespace

int SdtExtraPackets(int serviceCount) {
    if (serviceCount <= ServicesInFirstPacket) return 0;
    return (serviceCount - ServicesInFirstPacket + ServicesPerContinuation - 1) / ServicesPerContinuation;
}

std::vector<uint8_t> BuildSdtSection(const ServiceBlock& sb, int version) {
    // The image never carries more services than the PAT holds.
    const int count = std::clamp<int>(sb.SvcCount, 0, MaxPatServices);
    std::vector<uint8_t> buffer(PacketSize * (1 + SdtExtraPackets(count)), Stuffing);

    SectionWriter w(buffer);
    BeginSectionPacket(w, SdtPid);
    BeginSection(w, SdtTableId, SiLengthFlags, sb.TsId,
                 static_cast<unsigned>(version)); // transport_stream_id
    w.u16(sb.TsId);                               // original_network_id
    w.u8(0xFF);                                   // reserved_future_use
    for (int k = 0; k < count; ++k) {
        const ServiceInfo& info = sb.SvcInfo[k];
        const std::size_t entry = w.position();
        ExpectAt(entry, SdtFirstServiceAt + SdtServiceEntrySize * static_cast<std::size_t>(k));
        w.u16(info.ServiceId); // service_id
        // reserved_future_use '1111' then '00', EIT_schedule_flag, EIT_present_following_flag
        ExpectAt(w.position() - entry, SdtEntryEitFlagsAt);
        w.u8(0xF0u | ((info.EitSchedule & 1u) << 1) | (info.EitPresent & 1u));
        // running_status 0, free_CA_mode 0, descriptors_loop_length
        WriteLengthPrefixed(w, 0x0000u, [&] {
            WriteDescriptor(w, ServiceDescriptor, [&] {
                w.u8(DigitalTelevision); // service_type
                ExpectAt(w.position() - entry + 1, SdtEntryProviderAt);
                WriteName(w, info.Provider); // service_provider_name_length, service_provider_name
                ExpectAt(w.position() - entry + 1, SdtEntryNameAt);
                WriteName(w, info.Name); // service_name_length, service_name
            });
        });
        ExpectAt(w.position() - entry, SdtServiceEntrySize);
    }
    SetSectionLength(buffer, w.position());
    SectionCrc32(buffer, buffer.size()); // CRC_32
    return buffer;
}

std::vector<Packet> PacketiseSdt(std::span<const uint8_t> sdtBuffer) {
    std::vector<Packet> packets;
    if (sdtBuffer.size() < PacketSize) return packets;
    Packet& first = packets.emplace_back();
    std::copy_n(sdtBuffer.begin(), PacketSize, first.begin());
    // The buffer has 188 bytes per packet; continuations carry 184 of them each.
    const std::size_t extra = sdtBuffer.size() / PacketSize - 1;
    for (std::size_t j = 1; j <= extra; ++j) {
        const std::size_t at = PacketSize + ContinuationPayload * (j - 1);
        Packet& next = packets.emplace_back();
        SectionWriter w(next);
        w.u8(SyncByte); // sync_byte
        w.u16(SdtPid);  // payload_unit_start_indicator 0, PID
        w.u8(0x10);     // adaptation_field_control 01, continuity_counter 0
        std::copy_n(sdtBuffer.begin() + at, ContinuationPayload, next.begin() + ContinuationHeaderSize);
    }
    return packets;
}

void ReadBackSdt(std::span<const std::span<const uint8_t>> packets, int n, ServiceBlock& sb) {
    const std::size_t extra = static_cast<std::size_t>(SdtExtraPackets(n));
    if (packets.size() < 1 + extra || !legacy::IsPacketOnPid(packets[0], SdtPid)) return;
    // The section joined again: the first packet whole, then each continuation's payload.
    std::vector<uint8_t> section(packets[0].begin(), packets[0].end());
    for (std::size_t j = 1; j <= extra; ++j)
        if (packets[j].size() > ContinuationHeaderSize)
            section.insert(section.end(), packets[j].begin() + ContinuationHeaderSize, packets[j].end());

    SectionCursor c(section);
    ReadSectionHead(c);
    c.skip(3); // original_network_id, reserved_future_use
    for (int k = 0; k < n && k < MaxServices; ++k) {
        const std::size_t entry = c.position();
        ExpectAt(entry, SdtFirstServiceAt + SdtServiceEntrySize * static_cast<std::size_t>(k));
        ServiceInfo& info = sb.SvcInfo[k];
        info.ServiceId = static_cast<uint16_t>(c.u16());
        const unsigned flags = c.u8();
        info.EitSchedule = (flags >> 1) & 1u;
        info.EitPresent = flags & 1u;
        c.skip(5); // descriptors_loop_length, descriptor_tag, descriptor_length, service_type
        ReadName(c, info.Provider);
        ReadName(c, info.Name);
        ExpectAt(c.position() - entry, SdtServiceEntrySize);
    }
}

} // namespace kv
