#include "tables/nit_builder.h"

#include <cstring>

#include "tables/crc32.h"
#include "tables/section_framing.h"

namespace kv {
namespace {

bool BlankOrControl(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

constexpr uint8_t NetworkNameDescriptor = 0x40;

} // namespace

std::string NetworkNameOnAir(const ServiceBlock& sb) {
    const char* end = static_cast<const char*>(std::memchr(sb.NetName, '\0', MaxNameLength));
    std::string_view name(sb.NetName, end ? static_cast<std::size_t>(end - sb.NetName) : MaxNameLength);
    while (!name.empty() && BlankOrControl(name.front())) name.remove_prefix(1);
    while (!name.empty() && BlankOrControl(name.back())) name.remove_suffix(1);
    return std::string(name);
}

Packet BuildNitPacket(const ServiceBlock& sb) {
    const std::string name = NetworkNameOnAir(sb);
    const unsigned length = static_cast<unsigned>(name.size());

    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    BeginSectionPacket(w, NitPid);
    BeginSection(w, NitTableId, SiLengthFlags, sb.TsId, 0); // network_id
    w.u16(0xF000u | (length + 2));                          // reserved_future_use, network_descriptors_length
    w.u8(NetworkNameDescriptor);                            // descriptor_tag
    w.u8(length);                                           // descriptor_length
    w.text(name);                                           // char
    w.u16(0xF000u); // reserved_future_use, transport_stream_loop_length 0
    SetSectionLength(packet, w.position());
    SectionCrc32(packet); // CRC_32
    return packet;
}

} // namespace kv
