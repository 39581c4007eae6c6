#include "link/receive_ring.h"

#include <cstring>

namespace kv {

ReceiveRing::ReceiveRing() : slots_(static_cast<std::size_t>(Slots) * LineRecordSize) {}

bool ReceiveRing::Push(const uint8_t* record) {
    const int w = write_.load(std::memory_order_relaxed);
    const int next = Next(w);
    if (next == read_.load(std::memory_order_acquire)) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    std::memcpy(&slots_[static_cast<std::size_t>(w) * LineRecordSize], record, LineRecordSize);
    write_.store(next, std::memory_order_release);
    return true;
}

bool ReceiveRing::Pop(uint8_t* record) {
    const int r = read_.load(std::memory_order_relaxed);
    if (r == write_.load(std::memory_order_acquire)) return false;
    std::memcpy(record, &slots_[static_cast<std::size_t>(r) * LineRecordSize], LineRecordSize);
    read_.store(Next(r), std::memory_order_release);
    return true;
}

} // namespace kv
