#include "tables/crc32.h"

#include <algorithm>
#include <array>

namespace kv {
namespace {

constexpr uint32_t Polynomial = 0x04C11DB7u;

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t reg = byte << 24;
        for (int bit = 0; bit < 8; ++bit) reg = (reg & 0x80000000u) ? (reg << 1) ^ Polynomial : reg << 1;
        table[byte] = reg;
    }
    return table;
}

constexpr std::array<uint32_t, 256> Table = MakeTable();

// Computes the CRC of buffer[5 .. crcAt-1] and writes it big-endian at crcAt.
void PlaceCrc(std::span<uint8_t> buffer, std::size_t crcAt) {
    if (crcAt < SectionStart || crcAt + 4 > buffer.size()) return;
    const uint32_t crc = Crc32Mpeg2(buffer.subspan(SectionStart, crcAt - SectionStart));
    for (int i = 0; i < 4; ++i) buffer[crcAt + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

} // namespace

uint32_t Crc32Mpeg2(std::span<const uint8_t> data) {
    uint32_t reg = 0xFFFFFFFFu;
    for (uint8_t b : data) reg = (reg << 8) ^ Table[((reg >> 24) ^ b) & 0xFFu];
    return reg;
}

void SectionCrc32(std::span<uint8_t, PacketSize> packet) {
    const std::size_t length = packet[7];
    PlaceCrc(packet, std::min<std::size_t>(length + 4, PacketSize - 4));
}

void SectionCrc32(std::span<uint8_t> buffer, std::size_t bufferLength) {
    bufferLength = std::min(bufferLength, buffer.size());
    if (bufferLength < SectionStart + 3) return; // not even a section header
    const std::size_t length = ((buffer[6] & 0x0Fu) << 8) | buffer[7];
    PlaceCrc(buffer.first(bufferLength), std::min<std::size_t>(length + 4, bufferLength - 4));
}

} // namespace kv
