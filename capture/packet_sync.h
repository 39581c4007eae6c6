#pragma once
// Where a transport stream's packets are: the packet size (188, 192 with a
// 4-byte prefix, 204 with 16 bytes after each packet) and the first sync
// byte, found by looking for sync bytes at packet intervals.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kv {

inline constexpr int TsPacketSize = 188;
inline constexpr uint8_t TsSyncByte = 0x47;

struct PacketSync {
    int PacketSize = TsPacketSize;
    std::size_t FirstSync = 0;
};

// Looks at the start of `data`: the size and offset at which the most sync
// bytes follow one another (at least two, or one whole packet that is all the
// data holds). None when no size fits.
std::optional<PacketSync> FindPacketSync(const uint8_t* data, std::size_t size);

// The next offset from `from` at which a sync byte is followed by another one
// packet later (or by the end of the data); `size` when none.
std::size_t Resync(const uint8_t* data, std::size_t size, std::size_t from, int packetSize);

} // namespace kv
