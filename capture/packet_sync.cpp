#include "capture/packet_sync.h"

namespace kv {
namespace {

constexpr int PacketSizes[] = {188, 192, 204};
constexpr int SyncsWanted = 8; // in a row, where the data holds that many

int SyncRun(const uint8_t* data, std::size_t size, std::size_t offset, int packetSize) {
    int run = 0;
    for (std::size_t at = offset; at < size && run < SyncsWanted && data[at] == TsSyncByte; at += packetSize)
        ++run;
    return run;
}

} // namespace

std::optional<PacketSync> FindPacketSync(const uint8_t* data, std::size_t size) {
    std::optional<PacketSync> best;
    int bestRun = 0;
    for (const int packetSize : PacketSizes) {
        for (std::size_t offset = 0; offset < static_cast<std::size_t>(packetSize) && offset < size;
             ++offset) {
            const int run = SyncRun(data, size, offset, packetSize);
            if (run == 0) continue;
            const std::size_t whole = (size - offset) / packetSize;
            // Two syncs in a row, or as many as the data holds whole packets.
            const bool fits = run >= 2 || (whole <= 1 && size - offset >= TsPacketSize);
            if (fits && run > bestRun) {
                best = PacketSync{packetSize, offset};
                bestRun = run;
            }
            if (run == SyncsWanted) break;
        }
    }
    return best;
}

std::size_t Resync(const uint8_t* data, std::size_t size, std::size_t from, int packetSize) {
    for (std::size_t at = from; at < size; ++at) {
        if (data[at] != TsSyncByte) continue;
        if (at + packetSize >= size || data[at + packetSize] == TsSyncByte) return at;
    }
    return size;
}

} // namespace kv
