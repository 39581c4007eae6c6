// CRC-32/MPEG-2 and where the two section variants put it.
#include <gtest/gtest.h>

#include "tables/crc32.h"
#include "tables_test_support.h"

namespace kv {
namespace {

TEST(SectionCrc, CheckValueOfTheNineDigits) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32Mpeg2(std::span(reinterpret_cast<const uint8_t*>(digits.data()), digits.size())),
              0x0376E6E7u);
    EXPECT_EQ(Crc32Mpeg2({}), 0xFFFFFFFFu); // preset, no final XOR
}

TEST(SectionCrc, ASectionFollowedByItsCrcLeavesZero) {
    // The property every analyser checks: the CRC over section plus CRC is 0.
    Packet packet;
    packet.fill(0xFF);
    const auto section = test::Hex("00 B0 11 00 01 C3 00 00 00 00 E0 10 00 01 E1 00");
    std::copy(section.begin(), section.end(), packet.begin() + 5);
    SectionCrc32(packet);
    EXPECT_EQ(test::Slice(packet, 21, 4), test::Hex("69 3E 76 FD"));
    EXPECT_EQ(Crc32Mpeg2(std::span(packet).subspan(5, 20)), 0u);
    EXPECT_EQ(packet[25], 0xFF);
}

TEST(SectionCrc, SinglePacketCrcNeverLeavesThePacket) {
    Packet packet;
    packet.fill(0xAB);
    packet[7] = 0xFF; // a length byte of 255 would put the CRC at 259
    SectionCrc32(packet);
    EXPECT_EQ(Crc32Mpeg2(std::span(packet).subspan(5, 183)), 0u) << "CRC capped to bytes 184..187";
}

TEST(SectionCrc, SdtVariantUsesTwelveBitLengthAndCapsAtTheBuffer) {
    std::vector<uint8_t> buffer(376, 0x11);
    buffer[6] = 0xF1;
    buffer[7] = 0x10; // section_length 0x110 = 272: CRC at 276
    SectionCrc32(buffer, buffer.size());
    EXPECT_EQ(Crc32Mpeg2(std::span(buffer).subspan(5, 275)), 0u);
    EXPECT_EQ(buffer[280], 0x11);

    std::vector<uint8_t> small(188, 0x22);
    small[6] = 0xF3;
    small[7] = 0xFF; // 1023 would run far past a one-packet buffer
    SectionCrc32(small, small.size());
    EXPECT_EQ(Crc32Mpeg2(std::span(small).subspan(5, 183)), 0u) << "CRC capped to the last 4 buffer bytes";
}

} // namespace
} // namespace kv
