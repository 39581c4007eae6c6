// The PAT: worked example, its 41-service limit and the version counter.
#include <gtest/gtest.h>

#include "tables/crc32.h"
#include "tables/pat_table.h"
#include "tables_test_support.h"

namespace kv {
namespace {

TEST(PatPacket, WorkedExampleBytes) {
    auto store = test::ZeroStore();
    store->Svc.TsId = 1;
    test::AddService(*store, 1, 1, 0x0100);
    const Packet pat = BuildPatPacket(store->Svc, 1);
    EXPECT_EQ(test::Slice(pat, 0, 25),
              test::Hex("47 40 00 10 00  00 B0 11 00 01 C3 00 00 00 00 E0 10 00 01 E1 00  69 3E 76 FD"));
    for (std::size_t i = 25; i < PacketSize; ++i) ASSERT_EQ(pat[i], 0xFF) << "stuffing at " << i;
}

TEST(PatPacket, FortyOneServicesFillThePacket) {
    auto store = test::ZeroStore();
    for (int i = 0; i < 41; ++i)
        test::AddService(*store, 1, static_cast<uint16_t>(1000 + i), static_cast<int16_t>(0x1000 + i));
    const Packet pat = BuildPatPacket(store->Svc, 0);
    EXPECT_EQ(pat[6], 0xB0);
    EXPECT_EQ(pat[7], 177);
    // The last program entry: ServiceId 1040, PMT PID 0x1028 with its reserved bits.
    EXPECT_EQ(test::Slice(pat, 177, 4), test::Hex("04 10 F0 28"));
    EXPECT_EQ(Crc32Mpeg2(std::span(pat).subspan(5, 180)), 0u) << "CRC in bytes 181..184";
    EXPECT_EQ(test::Slice(pat, 185, 3), test::Hex("FF FF FF"));
}

TEST(PatPacket, MoreServicesThanFitAreLeftOutNotWrittenPastThePacket) {
    auto store = test::ZeroStore();
    for (int i = 0; i < 60; ++i) test::AddService(*store, 1, static_cast<uint16_t>(i), 0x100);
    const Packet pat = BuildPatPacket(store->Svc, 0);
    EXPECT_EQ(pat[7], 177);
    EXPECT_EQ(Crc32Mpeg2(std::span(pat).subspan(5, 180)), 0u);
}

TEST(PatPacket, VersionByteCarriesTheCounter) {
    auto store = test::ZeroStore();
    test::AddService(*store, 1, 1, 0x100);
    struct Case {
        int version;
        uint8_t byte10;
    };
    for (const Case c : {Case{0, 0xC1}, Case{1, 0xC3}, Case{4, 0xC9}, Case{31, 0xFF}}) {
        const Packet pat = BuildPatPacket(store->Svc, c.version);
        EXPECT_EQ(pat[10], c.byte10) << "version " << c.version;
        EXPECT_EQ(Crc32Mpeg2(std::span(pat).subspan(5, 20)), 0u);
    }
}

} // namespace
} // namespace kv
