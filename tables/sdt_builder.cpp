#include "tables/sdt_builder.h"

#include <algorithm>

#include "tables/crc32.h"
#include "tables/pat_builder.h"
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

} // namespace

int SdtExtraPackets(int serviceCount) {
    if (serviceCount <= ServicesInFirstPacket) return 0;
    return (serviceCount - ServicesInFirstPacket + ServicesPerContinuation - 1) / ServicesPerContinuation;
}

std::vector<uint8_t> BuildSdtSection(const ServiceBlock& sb) {
    // The image never carries more services than the PAT holds.
    const int count = std::clamp<int>(sb.SvcCount, 0, MaxPatServices);
    std::vector<uint8_t> buffer(PacketSize * (1 + SdtExtraPackets(count)), Stuffing);

    SectionWriter w(buffer);
    BeginSectionPacket(w, SdtPid);
    BeginSection(w, SdtTableId, SiLengthFlags, sb.TsId, 0); // transport_stream_id
    w.u16(sb.TsId);                                         // original_network_id
    w.u8(0xFF);                                             // reserved_future_use
    for (int k = 0; k < count; ++k) {
        const ServiceInfo& info = sb.SvcInfo[k];
        w.u16(info.ServiceId); // service_id
        // reserved_future_use '1111' then '00', EIT_schedule_flag, EIT_present_following_flag
        w.u8(0xF0u | ((info.EitSchedule & 1u) << 1) | (info.EitPresent & 1u));
        w.u8(0x00);                  // running_status 0, free_CA_mode 0, descriptors_loop_length bits 11..8
        w.u8(0x19);                  // descriptors_loop_length 25
        w.u8(ServiceDescriptor);     // descriptor_tag
        w.u8(0x17);                  // descriptor_length 23
        w.u8(DigitalTelevision);     // service_type
        WriteName(w, info.Provider); // service_provider_name_length, service_provider_name
        WriteName(w, info.Name);     // service_name_length, service_name
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

} // namespace kv
