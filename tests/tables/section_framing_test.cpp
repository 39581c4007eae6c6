// The length-counted pieces of a section, the cursor that reads a section
// back, and the header length the device reads from what the image writer wrote.
#include <gtest/gtest.h>

#include "tables/image_records.h"
#include "tables/section_framing.h"

namespace kv {
namespace {

TEST(SectionFraming, DescriptorsAndLoopsCountWhatTheirBodiesWrite) {
    for (std::size_t bodyBytes : {0u, 1u, 3u, 10u}) {
        std::vector<uint8_t> out(64, 0xAA);
        SectionWriter w(out);
        WriteLengthPrefixed(w, 0xF000u, [&] {
            WriteDescriptor(w, 0x40, [&] {
                for (std::size_t i = 0; i < bodyBytes; ++i) w.u8(0x30 + i);
            });
            WriteDescriptor(w, 0x52, [&] { w.u8(0x06); });
        });
        const std::size_t loop = 2 + bodyBytes + 3;
        EXPECT_EQ(w.position(), 2 + loop) << bodyBytes;
        EXPECT_EQ(static_cast<std::size_t>((out[0] << 8) | out[1]), 0xF000u | loop) << bodyBytes;
        EXPECT_EQ(out[2], 0x40);
        EXPECT_EQ(out[3], static_cast<uint8_t>(bodyBytes)) << "descriptor_length";
        EXPECT_EQ(out[4 + bodyBytes], 0x52);
        EXPECT_EQ(out[5 + bodyBytes], 1);
    }
}

TEST(SectionFraming, CursorReadsInOrderAndZeroPastItsEnd) {
    const std::vector<uint8_t> bytes{0x47, 0xE1, 0x23, 0x7F};
    SectionCursor c(bytes);
    EXPECT_EQ(c.u8(), 0x47u);
    EXPECT_EQ(c.pid(), 0x0123);
    EXPECT_FALSE(c.overrun());
    EXPECT_EQ(c.u16(), 0u) << "a field only half inside reads 0";
    EXPECT_TRUE(c.overrun());
    c.seek(3);
    EXPECT_EQ(c.u8(), 0x7Fu) << "a read inside after a seek still reads";
    EXPECT_TRUE(c.overrun()) << "an overrun stays marked";
}

TEST(SectionFraming, DeviceReadsTheImageLengthTheHeaderRecordCarries) {
    const int16_t gaps[RateSlots] = {};
    for (std::size_t length : {RecordSize, 60 * RecordSize, 348 * RecordSize}) {
        const Record header = BuildHeaderRecord(gaps, 0, length);
        EXPECT_EQ(HeaderImageLength(header.data()), static_cast<int>(length));
        EXPECT_EQ(header[HeaderLengthAt + 2], static_cast<uint8_t>(HeaderLengthTag >> 16));
    }
}

} // namespace
} // namespace kv
