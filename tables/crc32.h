#pragma once
// CRC-32/MPEG-2 of the signalling sections: polynomial 0x04C11DB7, preset
// 0xFFFFFFFF, most significant bit first, no reflection, no final XOR.

#include <cstddef>
#include <cstdint>
#include <span>

#include "tables/ts_packet.h"

namespace kv {

uint32_t Crc32Mpeg2(std::span<const uint8_t> data);

// Single-packet tables (PAT, NIT, PMT): the section starting at byte 5 with
// the length of byte 7 alone; the CRC lands at L + 4, never past byte 184.
void SectionCrc32(std::span<uint8_t, PacketSize> packet);

// The SDT buffer of one or more packets: the full 12-bit length; the CRC
// lands at L + 4, never past bufferLength - 4.
void SectionCrc32(std::span<uint8_t> buffer, std::size_t bufferLength);

} // namespace kv
