// The PMT: programme descriptors, stream entries, their descriptors and the
// GenPmt = 0 placement.
#include <gtest/gtest.h>

#include "tables/crc32.h"
#include "tables/pmt_table.h"
#include "tables_test_support.h"

namespace kv {
namespace {

ServicePids& OneService(ConfigStore& store) {
    return test::AddService(store, 1, 0x65, 0x100);
}

bool CrcHolds(const Packet& pmt) {
    return Crc32Mpeg2(std::span(pmt).subspan(5, pmt[7] + 3u)) == 0;
}

TEST(PmtPacket, NoStreamsGivesLength25AndAnEmptyLoop) {
    auto store = test::ZeroStore();
    const Packet pmt = BuildPmtPacket(OneService(*store));
    EXPECT_EQ(test::Slice(pmt, 0, 29), test::Hex("47 41 00 10 00  02 B0 19 00 65 C1 00 00  FF FF  F0 0C"
                                                 "0B 02 40 1F  10 06 C0 6B 6C C0 06 00"));
    EXPECT_TRUE(CrcHolds(pmt)) << "CRC in bytes 29..32";
    EXPECT_EQ(pmt[33], 0xFF);
}

TEST(PmtPacket, StreamTypesByStoredType) {
    struct Case {
        int16_t videoType, audioType, dataType;
        uint8_t video, audio, data;
    };
    const Case cases[] = {
        {0, 0, 0, 0x02, 0x03, 0x06},  {1, 1, 1, 0x1B, 0x04, 0x82},  {2, 2, 5, 0x1A, 0x11, 0x06},
        {7, 3, -1, 0x02, 0x0F, 0x06}, {-1, 9, 0, 0x02, 0x04, 0x06},
    };
    for (const Case& c : cases) {
        auto store = test::ZeroStore();
        ServicePids& p = OneService(*store);
        p.VideoOut = 0x101;
        p.VideoType = c.videoType;
        p.Audio[0].PidOut = 0x102;
        p.Audio[0].Type = c.audioType;
        p.Data[0].PidOut = 0x103;
        p.Data[0].DataType = c.dataType;
        const Packet pmt = BuildPmtPacket(p);
        EXPECT_EQ(pmt[7], 40);
        EXPECT_EQ(test::Slice(pmt, 29, 15), test::Vector({c.video, 0xE1, 0x01, 0xF0, 0x00, c.audio, 0xE1,
                                                          0x02, 0xF0, 0x00, c.data, 0xE1, 0x03, 0xF0, 0x00}));
        EXPECT_TRUE(CrcHolds(pmt));
    }
}

TEST(PmtPacket, EntriesInFixedOrderOnlyForPresentStreams) {
    auto store = test::ZeroStore();
    ServicePids& p = OneService(*store);
    p.PcrOut = 0x1FF;
    p.Data[1].PidOut = 0x120;
    p.Audio[2].PidOut = 0x110;
    p.VideoOut = 0x100;
    const Packet pmt = BuildPmtPacket(p);
    EXPECT_EQ(test::Slice(pmt, 13, 2), test::Hex("E1 FF"));
    EXPECT_EQ(pmt[7], 40);
    EXPECT_EQ(test::Slice(pmt, 29, 15), test::Hex("02 E1 00 F0 00  03 E1 10 F0 00  06 E1 20 F0 00"));
}

TEST(PmtPacket, Ac3AudioCarriesItsDescriptor) {
    auto store = test::ZeroStore();
    ServicePids& p = OneService(*store);
    p.Audio[0] = {4, 0x40, 0x140, 0, 0};
    const Packet pmt = BuildPmtPacket(p);
    EXPECT_EQ(pmt[7], 35);
    EXPECT_EQ(test::Slice(pmt, 29, 10), test::Hex("81 E1 40 F0 05  6A 03 80 52 00"));
    EXPECT_TRUE(CrcHolds(pmt));
}

TEST(PmtPacket, SubtitleDescriptorsOfBothKinds) {
    auto store = test::ZeroStore();
    ServicePids& p = OneService(*store);
    p.Data[0].PidOut = 0x150;
    test::SetSubtitle(p.Data[0], 0, "por", 0x7710); // only the low byte is sent
    p.Data[1].PidOut = 0x151;
    test::SetSubtitle(p.Data[1], 1, "eng", 0x20);
    const Packet pmt = BuildPmtPacket(p);
    EXPECT_EQ(pmt[7], 25 + 5 + 19 + 5 + 6);
    EXPECT_EQ(test::Slice(pmt, 29, 24), test::Hex("06 E1 50 F0 13  52 01 06  0A 04 70 6F 72 00"
                                                  "59 08 70 6F 72 10 00 04 00 05"));
    EXPECT_EQ(test::Slice(pmt, 53, 11), test::Hex("82 E1 51 F0 06  0A 04 65 6E 67 20"));
    EXPECT_TRUE(CrcHolds(pmt));
}

TEST(PmtPacket, LargestPmtHasLength118) {
    auto store = test::ZeroStore();
    ServicePids& p = OneService(*store);
    p.VideoOut = 0x100;
    for (int k = 0; k < 4; ++k) p.Audio[k] = {4, 0, static_cast<int16_t>(0x101 + k), 0, 0};
    for (int k = 0; k < 2; ++k) {
        p.Data[k].PidOut = static_cast<int16_t>(0x110 + k);
        test::SetSubtitle(p.Data[k], 0, "deu", 0x10);
    }
    const Packet pmt = BuildPmtPacket(p);
    EXPECT_EQ(pmt[6], 0xB0);
    EXPECT_EQ(pmt[7], 118);
    EXPECT_TRUE(CrcHolds(pmt)) << "CRC in bytes 122..125";
    EXPECT_EQ(pmt[126], 0xFF);
}

TEST(PmtPacket, WithoutGenPmtThePacketGoesOnTheNullPidAndNamesItsPidAtTheEnd) {
    auto store = test::ZeroStore();
    ServicePids& p = OneService(*store);
    p.PmtPid = 0x1ABC;
    p.VideoOut = 0x100;
    p.GenPmt = 0;
    const Packet pmt = BuildPmtPacket(p);
    EXPECT_EQ(test::Slice(pmt, 0, 5), test::Hex("47 1F FF 10 00"));
    EXPECT_EQ(test::Slice(pmt, 186, 2), test::Hex("5A BC"));
    p.GenPmt = 1;
    const Packet generated = BuildPmtPacket(p);
    EXPECT_EQ(test::Slice(generated, 0, 3), test::Hex("47 5A BC"));
    EXPECT_EQ(test::Slice(generated, 5, 181), test::Slice(pmt, 5, 181)) << "the section is the same";
}

} // namespace
} // namespace kv
