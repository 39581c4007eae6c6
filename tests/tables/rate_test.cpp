// Bit rate to pacing table and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tables/rate.h"

namespace kv {
namespace {

using Gaps = std::array<int16_t, 10>;

TEST(RateArithmetic, WorkedExamples) {
    struct Case {
        int32_t rate;
        bool byteMode;
        Gaps gaps;
        int16_t stuff;
        int64_t effective;
    };
    const Case cases[] = {
        {38000000, true, {133, 132, 133, 133, 132, 133, 132, 133, 133, 132}, 4, 38001122},
        {38000000, false, {881, 880, 881, 881, 880, 881, 880, 881, 881, 880}, 0, 38001122},
        {27000000, true, {7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, 7, 27000000},
        {27000000, false, {1316, 1316, 1316, 1316, 1316, 1316, 1316, 1316, 1316, 1316}, 0, 27000000},
        {216000000, true, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 216000000},
    };
    for (const Case& c : cases) {
        const RateTable t = ComputeRateGaps(c.rate, c.byteMode);
        EXPECT_EQ(t.Gaps, c.gaps) << c.rate << (c.byteMode ? " Byte" : " Pack");
        EXPECT_EQ(t.Stuff, c.stuff);
        EXPECT_EQ(EffectiveBitRate(t.Gaps.data(), t.Stuff), c.effective);
    }
}

TEST(RateArithmetic, ByteModeStuffingIsCappedAt255) {
    EXPECT_EQ(ComputeRateGaps(840467, true).Stuff, 255);
    EXPECT_EQ(ComputeRateGaps(840466, true).Stuff, 255);
    EXPECT_EQ(ComputeRateGaps(843751, true).Stuff, 254);
    EXPECT_EQ(ComputeRateGaps(108000001, true).Stuff, 0) << "above 108 000 000 Byte mode equals Pack mode";
    EXPECT_EQ(ComputeRateGaps(108000001, true).Gaps, ComputeRateGaps(108000001, false).Gaps);
}

// Inside the accepted range every slot fits 0..32767, so the table read back
// as signed 16 bits gives the rate it was made from; one bit/s below, a slot
// passes 32767.
int64_t UnsignedDivisor(const RateTable& t) {
    int64_t sum = 1870 * static_cast<uint16_t>(t.Stuff) + 1880;
    for (int16_t g : t.Gaps) sum += static_cast<uint16_t>(g);
    return sum;
}

int MaxSlot(const RateTable& t) {
    int max = 0;
    for (int16_t g : t.Gaps) max = std::max(max, static_cast<int>(static_cast<uint16_t>(g)));
    return max;
}

TEST(RateArithmetic, AcceptedRangeEndsWhereSlotsPass32767) {
    for (bool byteMode : {true, false}) {
        const int64_t min = MinExactRate(byteMode);
        EXPECT_TRUE(RateInExactRange(min, byteMode));
        EXPECT_FALSE(RateInExactRange(min - 1, byteMode));
        EXPECT_TRUE(RateInExactRange(MaxExactRate, byteMode));
        EXPECT_FALSE(RateInExactRange(MaxExactRate + 1, byteMode));
        const auto at = [&](int64_t rate) { return ComputeRateGaps(static_cast<int32_t>(rate), byteMode); };
        EXPECT_EQ(MaxSlot(at(min)), 32767) << min;
        EXPECT_GT(MaxSlot(at(min - 1)), 32767) << min - 1;
        EXPECT_EQ(EffectiveBitRate(at(min).Gaps.data(), at(min).Stuff), RateConstant / (RateConstant / min));
    }
    EXPECT_EQ(MinExactRate(true), 503571);
    EXPECT_EQ(MinExactRate(false), 1232223);
}

TEST(RateArithmetic, SlotsAbove32767SumAsSigned16Bits) {
    // Pack mode at 1 000 000 bit/s: slots near 40 420 are stored with their
    // 16 bits; the signed sum no longer gives the rate back.
    const RateTable t = ComputeRateGaps(1000000, false);
    EXPECT_EQ(static_cast<uint16_t>(t.Gaps[0]), 40420);
    EXPECT_NE(EffectiveBitRate(t.Gaps.data(), t.Stuff), 1000000);
    EXPECT_EQ(RateConstant / UnsignedDivisor(t), 1000000);
}

TEST(RateArithmetic, EffectiveRateOfAnyTableNeverDividesByZeroOrANegative) {
    const Gaps zeroSum = {-188, -188, -188, -188, -188, -188, -188, -188, -188, -188};
    EXPECT_EQ(EffectiveBitRate(zeroSum.data(), 0), 0);
    const Gaps negative = {-32768, -32768, -32768, -32768, -32768, -32768, -32768, -32768, -32768, -32768};
    EXPECT_EQ(EffectiveBitRate(negative.data(), 0), 0);
    const Gaps smallest = {-187, -188, -188, -188, -188, -188, -188, -188, -188, -188};
    EXPECT_EQ(EffectiveBitRate(smallest.data(), 0), RateConstant);
}

TEST(RateArithmetic, ZeroOrNegativeRateGivesAnEmptyTableInsteadOfDividing) {
    for (int32_t rate : {0, -5}) {
        const RateTable t = ComputeRateGaps(rate, true);
        EXPECT_EQ(t.Gaps, Gaps{});
        EXPECT_EQ(t.Stuff, 0);
    }
}

} // namespace
} // namespace kv
