// Leaving the bit-rate box: the typed rate, the shown rate and both copies
// of the pacing table.
#include <gtest/gtest.h>

#include <memory>

#include "ops/bit_rate_entry.h"
#include "ops/readback_display.h"
#include "tables/image_writer.h"
#include "tables/rate.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using Outcome = BitRateEntry::Outcome;

TEST(BitRateEntry, AtolReadsTheLeadingNumber) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},      {"abc", 0},        {"38000000", 38000000}, {"  42x", 42},
        {"-17", -17}, {"+5", 5},         {"27.000.000", 27},     {"1,5", 1},
        {"- 3", 0},   {"4294967297", 1}, {"0042", 42},
    };
    for (auto [text, value] : cases) EXPECT_EQ(AtolText(text), value) << '"' << text << '"';
}

TEST(BitRateEntry, BoxShowsTheEffectiveRate) {
    const std::pair<const char*, int32_t> cases[] = {
        {"38000000", 38001122},   {"50000000", 50003694}, {"100000000", 100019704}, {"27000000", 27000000},
        {"216000000", 216000000}, {"503571", 503571},     {"1232223", 1232225},
    };
    for (auto [text, shown] : cases) {
        for (bool byteMode : {true, false}) {
            if (!RateInExactRange(AtolText(text), byteMode)) continue;
            auto store = test::ZeroStore();
            const BitRateEntry e = ApplyBitRateEntry(*store, text, byteMode);
            ASSERT_EQ(e.outcome, Outcome::Applied) << text;
            EXPECT_EQ(e.EffectiveRate, shown) << text;
            EXPECT_EQ(store->Svc.BitRate, AtolText(text)) << "BitRate keeps the typed rate";
            EXPECT_EQ(store->Ghost.GhostBitRate, AtolText(text));
            // The table belongs to the shown rate, in the mode chosen, in both copies.
            const RateTable t = ComputeRateGaps(shown, byteMode);
            EXPECT_TRUE(std::equal(t.Gaps.begin(), t.Gaps.end(), store->Svc.RateGaps));
            EXPECT_TRUE(std::equal(t.Gaps.begin(), t.Gaps.end(), store->Ghost.GhostRateGaps));
            EXPECT_EQ(store->Svc.RateStuff, t.Stuff);
            EXPECT_EQ(store->Ghost.GhostRateStuff, t.Stuff);
            // Leaving the box again changes nothing: E of E is E.
            EXPECT_EQ(ApplyBitRateEntry(*store, std::to_string(shown), byteMode).EffectiveRate, shown);
        }
    }
}

constexpr const char* ByteRange = "Bit rate must be between 503571 and 216000000 (Bps).";
constexpr const char* PackRange = "Bit rate must be between 1232223 and 216000000 (Bps).";

TEST(BitRateEntry, EmptyZeroAndOutOfRangeEntriesChangeNothing) {
    struct Case {
        const char* text;
        bool byteMode;
        Outcome outcome;
        const char* warning;
    };
    const Case cases[] = {
        {"", true, Outcome::Ignored, ""},
        {"0", false, Outcome::Ignored, ""},
        {"abc", true, Outcome::Ignored, ""},
        {"27.000.000", true, Outcome::OutOfRange, ByteRange},
        {"503570", true, Outcome::OutOfRange, ByteRange},
        {"400000", true, Outcome::OutOfRange, ByteRange},
        {"1232222", false, Outcome::OutOfRange, PackRange},
        {"617865", false, Outcome::OutOfRange, PackRange},
        {"216000001", true, Outcome::OutOfRange, ByteRange},
        {"216000001", false, Outcome::OutOfRange, PackRange},
        {"-38000000", false, Outcome::OutOfRange, PackRange},
    };
    for (const Case& c : cases) {
        auto store = test::RichStore();
        const auto before = test::BytesOf(*store);
        const BitRateEntry e = ApplyBitRateEntry(*store, c.text, c.byteMode);
        EXPECT_EQ(e.outcome, c.outcome) << c.text;
        EXPECT_EQ(e.Warning, c.warning) << c.text;
        EXPECT_EQ(test::BytesOf(*store), before) << c.text;
    }
}

// At each end of the accepted range, what "Send Mux" sends comes back from
// "Get" as the same rate and mode.
TEST(BitRateEntry, RatesAtTheBoundsReadBackAsSent) {
    const std::pair<int64_t, bool> bounds[] = {{MinExactRate(true), true},
                                               {MinExactRate(false), false},
                                               {MaxExactRate, true},
                                               {MaxExactRate, false}};
    for (auto [rate, byteMode] : bounds) {
        const std::string text = std::to_string(rate);
        auto store = test::RichStore();
        const BitRateEntry e = ApplyBitRateEntry(*store, text, byteMode);
        ASSERT_EQ(e.outcome, Outcome::Applied) << text;
        const auto back = std::make_unique<ConfigStore>(DecodeImageToProject(BuildConfigImage(*store, 1)));
        EXPECT_EQ(back->Svc.BitRate, e.EffectiveRate) << text;
        EXPECT_EQ(back->Svc.RateStuff, store->Svc.RateStuff) << text;
    }
}

} // namespace
} // namespace kv
