// The configuration image: record order, sizes, PID maps, the PCR list, the
// limits checked before anything is written, and writing the file.
#include <gtest/gtest.h>

#include "tables/image_layout.h"
#include "tables/image_writer.h"
#include "tables/pat_table.h"
#include "tables/signalling_packets.h"
#include "tables_test_support.h"

namespace kv {
namespace {

std::vector<uint8_t> RecordBytes(const std::vector<uint8_t>& image, std::size_t index) {
    return test::Slice(image, index * RecordSize, RecordSize);
}

// (in, out) pairs of a PID map record up to the first filler pair.
std::vector<std::pair<int, int>> MapPairs(const std::vector<uint8_t>& record) {
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t at = 12; at + 4 <= RecordSize; at += 4) {
        const int in = record[at] | (record[at + 1] << 8);
        const int out = record[at + 2] | (record[at + 3] << 8);
        if (out == PidNone) break;
        pairs.emplace_back(in, out);
    }
    return pairs;
}

TEST(ConfigImage, EmptyStoreGives1880BytesWithoutHeader) {
    const auto image = BuildConfigImage(*test::ZeroStore(), 1);
    ASSERT_EQ(image.size(), 1880u);
    for (int input = 1; input <= 8; ++input) {
        const auto map = RecordBytes(image, input - 1);
        EXPECT_EQ(test::Slice(map, 0, 12),
                  test::Vector({0xB8, 1, 0, 0, 0, 0, 0, 0, 0, uint8_t(input - 1), 0, 0}));
        for (std::size_t at = 12; at < RecordSize; at += 2)
            ASSERT_EQ(test::Slice(map, at, 2), test::Hex("FF 1F")) << at;
    }
    std::vector<uint8_t> reserved(RecordSize, 0);
    reserved[0] = 0xB8;
    reserved[1] = 1;
    reserved[9] = 0x0F;
    EXPECT_EQ(RecordBytes(image, 8), reserved);
    const auto pcr = RecordBytes(image, 9);
    EXPECT_EQ(test::Slice(pcr, 0, 12), test::Hex("B8 04 00 00 00 00 00 00 00 00 00 00"));
    for (std::size_t at = 12; at < 76; at += 2) ASSERT_EQ(test::Slice(pcr, at, 2), test::Hex("FF 1F")) << at;
    EXPECT_EQ(test::Slice(pcr, 76, 112), std::vector<uint8_t>(112, 0)) << "list B empty";
}

TEST(ConfigImage, GhostOnlyImageStates2068BytesAndTheGhostRate) {
    auto store = test::ZeroStore();
    test::AddGhost(*store, 2, 0x44, 0x55);
    for (int k = 0; k < 10; ++k) store->Ghost.GhostRateGaps[k] = static_cast<int16_t>(0x0100 * k + 1);
    store->Ghost.GhostRateStuff = 9;
    store->Svc.RateStuff = 3; // not the copy in force without services
    const auto image = BuildConfigImage(*store, 1);
    ASSERT_EQ(image.size(), 2068u);
    EXPECT_EQ(test::Slice(image, 0, 31), test::Hex("B8 02 00 00 00 00 00  14 08 07  01 00  09"
                                                   "01 01 01 02 01 03 01 04 01 05 01 06 01 07 01 08 01 09"));
    EXPECT_EQ(test::Slice(image, 31, 157), std::vector<uint8_t>(157, 0));
    EXPECT_EQ(MapPairs(RecordBytes(image, 2)), (std::vector<std::pair<int, int>>{{0x44, 0x55}}));
}

TEST(ConfigImage, SixServicesGive3948BytesWithTheSdtInTwoRecords) {
    auto store = test::ZeroStore();
    for (int i = 0; i < 6; ++i)
        test::AddService(*store, 1, static_cast<uint16_t>(i + 1), static_cast<int16_t>(0x100 + i));
    const auto image = BuildConfigImage(*store, 3);
    ASSERT_EQ(image.size(), 3948u);
    EXPECT_EQ(test::Slice(image, 7, 3), test::Hex("6C 0F 07"));
    EXPECT_EQ(test::Slice(image, 11 * 188, 3), test::Hex("47 40 00"));
    EXPECT_EQ(image[11 * 188 + 10], 0xC7) << "PAT version 3";
    EXPECT_EQ(test::Slice(image, 12 * 188, 3), test::Hex("47 40 10"));
    EXPECT_EQ(test::Slice(image, 13 * 188, 3), test::Hex("47 40 11"));
    EXPECT_EQ(test::Slice(image, 14 * 188, 4), test::Hex("47 00 11 10"));
    for (int g = 0; g < 6; ++g)
        EXPECT_EQ(test::Slice(image, (15 + g) * 188, 3), test::Vector({0x47, 0x41, uint8_t(g)}));
    // The packets are the signalling packets as they are.
    const auto packets = SignallingPackets(*store, 3);
    ASSERT_EQ(packets.size(), 10u);
    for (std::size_t k = 0; k < packets.size(); ++k)
        EXPECT_EQ(RecordBytes(image, 11 + k), test::Slice(packets[k], 0, 188)) << "record " << 11 + k;
}

TEST(ConfigImage, PidMapListsPcrVideoAudioDataThenGhosts) {
    auto store = test::ZeroStore();
    ServicePids& p = test::AddService(*store, 3, 1, 0x100);
    p.PcrIn = p.VideoIn = 0x30;
    p.PcrOut = p.VideoOut = 0x130;
    p.Audio[0] = {0, 0x31, 0x131, 0, 0};
    p.Audio[1] = {0, 0x32, 0x132, 0, 0};
    ServicePids& q = test::AddService(*store, 4, 2, 0x101);
    q.Data[1].PidIn = 0x40;
    q.Data[1].PidOut = 0x140;
    test::AddGhost(*store, 3, 0x50, 0x150);
    test::AddGhost(*store, 3, 8191, 8191); // ghost pairs are written without the 8191 test
    const auto image = BuildConfigImage(*store, 1);
    const auto map3 = RecordBytes(image, 3);
    EXPECT_EQ(map3[9], 2);
    EXPECT_EQ(test::Slice(map3, 12, 24), test::Hex("30 00 30 01  30 00 30 01  31 00 31 01  32 00 32 01"
                                                   "50 00 50 01  FF 1F FF 1F"));
    EXPECT_EQ(MapPairs(RecordBytes(image, 4)), (std::vector<std::pair<int, int>>{{0x40, 0x140}}));
}

TEST(ConfigImage, PcrListAHoldsAdjustedPcrsAndListBEveryPcrWithItsFlag) {
    auto store = test::ZeroStore();
    ServicePids& first = test::AddService(*store, 1, 1, 0x100);
    first.PcrOut = 0x101;
    first.PcrAdjust = 0;
    test::AddService(*store, 1, 2, 0x110); // no PCR: in neither list
    ServicePids& third = test::AddService(*store, 1, 3, 0x120);
    third.PcrOut = 0x121;
    const auto pcr = RecordBytes(BuildConfigImage(*store, 1), 10);
    EXPECT_EQ(test::Slice(pcr, 12, 4), test::Hex("21 01 FF 1F"));
    EXPECT_EQ(test::Slice(pcr, 80, 6), test::Hex("01 01 21 81 00 00"));
}

TEST(ConfigImage, LimitsNameWhatNoImageCanHold) {
    auto fine = test::ZeroStore();
    for (int i = 0; i < 41; ++i) {
        ServicePids& p =
            test::AddService(*fine, 1 + i % 8, static_cast<uint16_t>(i), static_cast<int16_t>(0x100 + i));
        p.PcrOut = static_cast<int16_t>(0x200 + i);
        p.PcrAdjust = i < 32;
    }
    EXPECT_EQ(ImageLimitViolation(*fine), std::nullopt);

    auto tooMany = test::ZeroStore();
    for (int i = 0; i < 42; ++i) test::AddService(*tooMany, 1, static_cast<uint16_t>(i), 0x100);
    EXPECT_EQ(ImageLimitViolation(*tooMany), "Limited 41 programs per Mux.");

    fine->Svc.SvcPids[32].PcrAdjust = 1;
    EXPECT_EQ(ImageLimitViolation(*fine), "Limited 32 adjusted PCRs per Mux: 33 are marked.");

    // 44 counted PIDs on input 3 (the editors' limit) plus a PCR pair.
    auto crowded = test::ZeroStore();
    ServicePids& p = test::AddService(*crowded, 3, 1, 0x100);
    p.VideoOut = 0x101;
    p.PcrOut = 0x102;
    p.Audio[0].PidOut = 0x103;
    p.Audio[1].PidOut = 0x104;
    p.Audio[2].PidOut = 0x105;
    for (int j = 0; j < 40; ++j)
        test::AddGhost(*crowded, 3, static_cast<int16_t>(j), static_cast<int16_t>(0x300 + j));
    EXPECT_EQ(ImageLimitViolation(*crowded), "Limited 44 PID pairs per IN: IN 3 needs 45.");
    // Built anyway, the map keeps to its record: the next record is untouched.
    const auto image = BuildConfigImage(*crowded, 1);
    ASSERT_EQ(image.size(), 15u * 188);
    EXPECT_EQ(MapPairs(RecordBytes(image, 3)).size(), 44u);
    EXPECT_EQ(test::Slice(image, 4 * 188, 12), test::Hex("B8 01 00 00 00 00 00 00 00 03 00 00"));
}

} // namespace
} // namespace kv
