#pragma once
// Per-PID figures of a capture, packet by packet: the count, the scrambled
// packets, the PCRs, and the time the PCRs measure.

#include <array>
#include <cstdint>
#include <vector>

#include "capture/capture.h"

namespace kv {

class PidStatistics {
  public:
    // One 188-byte packet, sync byte first.
    void Count(const uint8_t* packet) {
        const int pid = ((packet[1] & 0x1F) << 8) | packet[2];
        uint16_t& at = slots_[pid];
        if (at == 0) {
            counters_.push_back({});
            counters_.back().Pid = pid;
            at = static_cast<uint16_t>(counters_.size());
        }
        Counter& c = counters_[at - 1];
        ++c.Packets;
        if (packet[3] & 0xC0) ++c.Scrambled; // transport_scrambling_control
        // adaptation_field_control with an adaptation field, its length, PCR_flag
        if ((packet[3] & 0x20) && packet[4] >= 7 && (packet[5] & 0x10)) CountPcr(c, packet);
        ++packets_;
    }

    int64_t Packets() const { return packets_; }

    // Every PID present, ascending, with its bit rate over the capture when
    // the PCRs measured the time; the capture's duration and rate beside.
    std::vector<CapturePid> Pids(double& duration, double& bitRate) const;

  private:
    struct Counter {
        int Pid = 0;
        int64_t Packets = 0, Scrambled = 0, Pcrs = 0;
        uint64_t LastPcr = 0;
        int64_t LastPcrPacket = -1;
        uint64_t SpanTicks = 0;  // 27 MHz ticks between consecutive PCRs
        int64_t SpanPackets = 0; // packets of the capture over the same time
    };
    void CountPcr(Counter& c, const uint8_t* packet);

    std::array<uint16_t, 8192> slots_{}; // PID -> 1 + its counter's index; 0 before its first packet
    std::vector<Counter> counters_;      // in the order the PIDs first came
    int64_t packets_ = 0;
};

} // namespace kv
