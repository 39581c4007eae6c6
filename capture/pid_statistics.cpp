#include "capture/pid_statistics.h"

#include <algorithm>

namespace kv {
namespace {

constexpr uint64_t PcrWrap = (uint64_t{1} << 33) * 300; // program_clock_reference_base wraps at 2^33
constexpr uint64_t PcrHz = 27'000'000;
constexpr uint64_t LongestPcrGap = 2 * PcrHz; // a longer gap is a discontinuity, not time
constexpr double BitsPerPacket = 188 * 8;

} // namespace

void PidStatistics::CountPcr(Counter& c, const uint8_t* packet) {
    // program_clock_reference_base (33 bits), reserved (6), _extension (9)
    const uint64_t base = (uint64_t{packet[6]} << 25) | (uint64_t{packet[7]} << 17) |
                          (uint64_t{packet[8]} << 9) | (uint64_t{packet[9]} << 1) | (packet[10] >> 7);
    const uint64_t extension = ((packet[10] & 0x01u) << 8) | packet[11];
    const uint64_t pcr = base * 300 + extension;
    if (c.LastPcrPacket >= 0) {
        const uint64_t gap = (pcr + PcrWrap - c.LastPcr) % PcrWrap;
        if (gap > 0 && gap <= LongestPcrGap) {
            c.SpanTicks += gap;
            c.SpanPackets += packets_ - c.LastPcrPacket;
        }
    }
    c.LastPcr = pcr;
    c.LastPcrPacket = packets_;
    ++c.Pcrs;
}

std::vector<CapturePid> PidStatistics::Pids(double& duration, double& bitRate) const {
    // The clock is the PCR PID that measured the most packets.
    const Counter* clock = nullptr;
    for (const Counter& c : counters_)
        if (c.SpanTicks > 0 && (!clock || c.SpanPackets > clock->SpanPackets)) clock = &c;
    bitRate = clock ? BitsPerPacket * static_cast<double>(clock->SpanPackets) * PcrHz /
                          static_cast<double>(clock->SpanTicks)
                    : 0;
    duration = bitRate > 0 ? BitsPerPacket * static_cast<double>(packets_) / bitRate : 0;

    std::vector<CapturePid> pids;
    for (const Counter& c : counters_) {
        const double rate = duration > 0 ? BitsPerPacket * static_cast<double>(c.Packets) / duration : 0;
        pids.push_back({c.Pid, c.Packets, c.Scrambled, c.Pcrs, rate});
    }
    std::sort(pids.begin(), pids.end(),
              [](const CapturePid& a, const CapturePid& b) { return a.Pid < b.Pid; });
    return pids;
}

} // namespace kv
