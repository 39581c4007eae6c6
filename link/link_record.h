#pragma once
// The unit of everything exchanged with the multiplexer: a 188-byte record
// that starts with 0x47 (a transport packet) or 0xB8 (an image record).

#include <cstdint>

namespace kv {

inline constexpr int LineRecordSize = 188;
inline constexpr uint8_t PacketSyncByte = 0x47;
inline constexpr uint8_t ImageRecordByte = 0xB8;

// The two bytes a record may start with; any other byte is line noise.
inline constexpr bool IsRecordStart(uint8_t byte) {
    return byte == PacketSyncByte || byte == ImageRecordByte;
}

} // namespace kv
