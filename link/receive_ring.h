#pragma once
// The queue between the receive thread (the only producer) and the GUI
// thread (the only consumer): 2000 record slots. A record is copied into its
// slot before the write index moves past it (release), and the consumer reads
// the index before the slot (acquire); the same the other way round for the
// read index, so a slot is never filled while it is being read.
//
// The ring is empty when both indices are equal, so it holds at most 1999
// records. A record that arrives while the ring is full is dropped (the
// newest is lost, the queued ones stay in order).

#include <atomic>
#include <cstdint>
#include <vector>

#include "link/link_record.h"

namespace kv {

class ReceiveRing {
  public:
    static constexpr int Slots = 2000;

    ReceiveRing();

    bool Push(const uint8_t* record); // producer; false when the ring was full and the record dropped
    bool Pop(uint8_t* record);        // consumer; false when empty
    uint64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

  private:
    static int Next(int index) { return index + 1 == Slots ? 0 : index + 1; }

    std::vector<uint8_t> slots_; // Slots x LineRecordSize bytes
    std::atomic<int> read_{0};
    std::atomic<int> write_{0};
    std::atomic<uint64_t> dropped_{0};
};

} // namespace kv
