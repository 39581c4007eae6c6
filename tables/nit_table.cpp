#include "tables/nit_table.h"

#include <algorithm>
#include <cstring>

#include "model/bounded_text.h"
#include "tables/crc32.h"
#include "tables/legacy_reading.h"
#include "tables/section_framing.h"

namespace kv {
namespace {

bool BlankOrControl(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

constexpr uint8_t NetworkNameDescriptor = 0x40;

} // namespace

std::string NetworkNameOnAir(const ServiceBlock& sb) {
    std::string_view name = BoundedText(sb.NetName, MaxNameLength);
    while (!name.empty() && BlankOrControl(name.front())) name.remove_prefix(1);
    while (!name.empty() && BlankOrControl(name.back())) name.remove_suffix(1);
    return std::string(name);
}

Packet BuildNitPacket(const ServiceBlock& sb, int version) {
    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    BeginSectionPacket(w, NitPid);
    BeginSection(w, NitTableId, SiLengthFlags, sb.TsId, static_cast<unsigned>(version)); // network_id
    WriteLengthPrefixed(w, 0xF000u, [&] { // reserved_future_use, network_descriptors_length
        WriteDescriptor(w, NetworkNameDescriptor, [&] {
            ExpectAt(w.position(), NitNameAt);
            w.text(NetworkNameOnAir(sb)); // char
        });
    });
    WriteLengthPrefixed(w, 0xF000u, [] {}); // reserved_future_use, transport_stream_loop_length 0
    SetSectionLength(packet, w.position());
    SectionCrc32(packet); // CRC_32
    return packet;
}

bool ReadBackNit(std::span<const uint8_t> packet, ServiceBlock& sb) {
    if (!legacy::IsPacketOnPid(packet, NitPid)) return false;
    SectionCursor c(packet);
    ReadSectionHead(c);
    c.skip(3); // network_descriptors_length, descriptor_tag
    ExpectAt(c.position(), NitNameLengthAt);
    const std::size_t length = std::min<std::size_t>(c.u8(), MaxNameLength);
    std::memset(sb.NetName, 0, sizeof sb.NetName);
    for (std::size_t i = 0; i < length; ++i) sb.NetName[i] = static_cast<char>(c.u8());
    return true;
}

} // namespace kv
