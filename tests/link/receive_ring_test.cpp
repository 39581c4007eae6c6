// The queue between the receive thread and the GUI thread.
#include "link/receive_ring.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <thread>

namespace kv {
namespace {

std::array<uint8_t, LineRecordSize> Numbered(uint32_t n) {
    std::array<uint8_t, LineRecordSize> r{};
    r[0] = ImageRecordMark;
    for (int i = 1; i < LineRecordSize; ++i) r[i] = static_cast<uint8_t>(n + static_cast<uint32_t>(i));
    std::memcpy(&r[1], &n, sizeof n);
    return r;
}

uint32_t NumberOf(const std::array<uint8_t, LineRecordSize>& r) {
    uint32_t n = 0;
    std::memcpy(&n, &r[1], sizeof n);
    return n;
}

TEST(ReceiveRing, HandsOutRecordsInArrivalOrderAcrossTheWrap) {
    ReceiveRing ring;
    std::array<uint8_t, LineRecordSize> out{};
    EXPECT_FALSE(ring.Pop(out.data()));
    uint32_t next = 0;
    // Three times round the 2000 slots, never more than 150 queued.
    for (uint32_t n = 0; n < 3 * ReceiveRing::Slots; ++n) {
        ASSERT_TRUE(ring.Push(Numbered(n).data()));
        if (n % 150 == 149) {
            while (ring.Pop(out.data())) ASSERT_EQ(out, Numbered(next++));
        }
    }
    while (ring.Pop(out.data())) ASSERT_EQ(out, Numbered(next++));
    EXPECT_EQ(next, 3u * ReceiveRing::Slots);
    EXPECT_EQ(ring.Dropped(), 0u);
}

TEST(ReceiveRing, FullRingDropsTheNewestRecordAndKeepsTheQueuedOnes) {
    ReceiveRing ring;
    const int capacity = ReceiveRing::Slots - 1; // equal indices mean empty
    for (int n = 0; n < capacity; ++n) ASSERT_TRUE(ring.Push(Numbered(static_cast<uint32_t>(n)).data()));
    EXPECT_FALSE(ring.Push(Numbered(99999).data()));
    EXPECT_FALSE(ring.Push(Numbered(99998).data()));
    EXPECT_EQ(ring.Dropped(), 2u);

    std::array<uint8_t, LineRecordSize> out{};
    ASSERT_TRUE(ring.Pop(out.data()));
    EXPECT_EQ(NumberOf(out), 0u);
    // One slot free again: the next record is kept, after the old ones.
    EXPECT_TRUE(ring.Push(Numbered(5000).data()));
    uint32_t last = 0;
    int popped = 0;
    while (ring.Pop(out.data())) {
        last = NumberOf(out);
        ++popped;
    }
    EXPECT_EQ(popped, capacity);
    EXPECT_EQ(last, 5000u);
}

TEST(ReceiveRing, ProducerAndConsumerThreadsNeverSeeATornRecord) {
    ReceiveRing ring;
    constexpr uint32_t total = 50000;
    std::thread producer([&] {
        for (uint32_t n = 0; n < total; ++n)
            while (!ring.Push(Numbered(n).data())) {
                // Full: only now is a record lost, so wait instead and keep the count exact.
                std::this_thread::yield();
            }
    });
    std::array<uint8_t, LineRecordSize> out{};
    uint32_t expected = 0;
    int torn = 0;
    while (expected < total) {
        if (!ring.Pop(out.data())) continue;
        if (out != Numbered(expected)) ++torn;
        ++expected;
    }
    producer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_FALSE(ring.Pop(out.data()));
}

} // namespace
} // namespace kv
