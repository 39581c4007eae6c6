// The ghost editor's row rules without the window, where the editor's tests
// do not reach them: how Add reads texts, what it takes as a duplicate, the
// limit per input, and the bounds of loading and removing rows.
#include <gtest/gtest.h>

#include <string>

#include "ops/ghost_rows.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using test::AddGhost;

TEST(GhostRows, AddReadsTheTextsInTheChosenRadixOrRefusesThem) {
    struct Case {
        std::string pidIn, pidOut;
        Radix radix;
        const char* refusal; // nullptr: taken
        int valueIn, valueOut;
    };
    const Case cases[] = {
        {"100.5", "2,7", Radix::Decimal, nullptr, 100, 2},
        {"1A.5", "14", Radix::Hexadecimal, nullptr, 26, 20}, // below 32 is a legitimate ghost PID
        {"0", "8191", Radix::Decimal, nullptr, 0, 8191},
        {"", "40", Radix::Decimal, GhostNeedBothPids, 0, 0},
        {"40", "", Radix::Decimal, GhostNeedBothPids, 0, 0},
        {".", "40", Radix::Decimal, GhostNeedBothPids, 0, 0},
        {"40", ",", Radix::Hexadecimal, GhostNeedBothPids, 0, 0},
        {"9999", "40", Radix::Decimal, GhostPidOutOfRange, 0, 0},
        {"8192", "40", Radix::Decimal, GhostPidOutOfRange, 0, 0},
        {"40", "FFFF", Radix::Hexadecimal, GhostPidOutOfRange, 0, 0},
        {"2000", "40", Radix::Hexadecimal, GhostPidOutOfRange, 0, 0},
    };
    const auto store = test::ZeroStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pidIn + " / " + c.pidOut);
        GhostRows rows;
        const GhostAddOutcome outcome = rows.Add(*store, -1, 4, c.pidIn, c.pidOut, c.radix);
        if (c.refusal) {
            ASSERT_NE(outcome.Refusal, nullptr);
            EXPECT_STREQ(outcome.Refusal, c.refusal);
            EXPECT_EQ(rows.Count(), 0);
            continue;
        }
        ASSERT_EQ(outcome.Refusal, nullptr) << outcome.Refusal;
        ASSERT_EQ(rows.Count(), 1);
        EXPECT_EQ(rows.Rows()[0].Input, 4);
        EXPECT_EQ(rows.Rows()[0].PidIn, c.valueIn);
        EXPECT_EQ(rows.Rows()[0].PidOut, c.valueOut);
        EXPECT_EQ(rows.Rows()[0].Shown, c.radix);
    }
}

TEST(GhostRows, DuplicatesAreRowsThatShowTheSameThreeTexts) {
    const auto store = test::ZeroStore();
    GhostRows rows;
    ASSERT_EQ(rows.Add(*store, -1, 1, "100", "200", Radix::Decimal).Refusal, nullptr);

    struct Case {
        int input;
        const char *pidIn, *pidOut;
        Radix radix;
        const char* refusal;
    };
    const Case cases[] = {
        {1, "0100", "200", Radix::Decimal, GhostDuplicate}, // reads as 100: the same texts
        {1, "100", "201", Radix::Decimal, nullptr},         // another PID OUT
        {1, "64", "C8", Radix::Hexadecimal, nullptr},       // the same values shown in hexadecimal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pidIn) + " / " + c.pidOut);
        const int before = rows.Count();
        const GhostAddOutcome outcome = rows.Add(*store, -1, c.input, c.pidIn, c.pidOut, c.radix);
        if (c.refusal) {
            EXPECT_STREQ(outcome.Refusal, c.refusal);
            EXPECT_EQ(rows.Count(), before);
        } else {
            EXPECT_EQ(outcome.Refusal, nullptr);
            EXPECT_EQ(rows.Count(), before + 1);
        }
    }
}

TEST(GhostRows, InputLimitCountsTheStoreAndSparesReplacements) {
    auto store = test::ZeroStore();
    for (int j = 0; j < 44; ++j) AddGhost(*store, 2, 100 + j, 200 + j);
    GhostRows rows;
    rows.LoadFrom(store->Ghost);

    // The refused new row and the accepted replacement on input 2 are driven
    // through the editor; another input has its own count.
    EXPECT_EQ(rows.Add(*store, -1, 3, "999", "999", Radix::Decimal).Refusal, nullptr);
    // A selection past the end is no selection: a new row, so the limit applies.
    EXPECT_STREQ(rows.Add(*store, 99, 2, "998", "998", Radix::Decimal).Refusal, GhostInputLimit);

    // Rows added since the list was loaded are not in the store: they do not count.
    auto empty = test::ZeroStore();
    GhostRows fresh;
    for (int j = 0; j < 50; ++j) {
        const std::string pid = std::to_string(100 + j);
        ASSERT_EQ(fresh.Add(*empty, -1, 6, pid, pid, Radix::Decimal).Refusal, nullptr) << j;
    }
}

TEST(GhostRows, WriteBackStoresTheValuesRowsShow) {
    auto store = test::ZeroStore();
    AddGhost(*store, 7, 500, 600);
    AddGhost(*store, 8, 501, 601);

    GhostRows rows;
    rows.LoadFrom(store->Ghost);
    ASSERT_EQ(rows.Count(), 2);
    ASSERT_TRUE(rows.Remove(0));
    EXPECT_FALSE(rows.Remove(5));
    ASSERT_EQ(rows.Add(*store, -1, 3, "100", "1FF", Radix::Hexadecimal).Refusal, nullptr);
    rows.WriteTo(store->Ghost);

    const GhostBlock& g = store->Ghost;
    ASSERT_EQ(g.GhostCount, 2);
    EXPECT_EQ(g.GhostInput[0], 8);
    EXPECT_EQ(g.GhostPidIn[0], 501);
    EXPECT_EQ(g.GhostPidOut[0], 601);
    EXPECT_EQ(g.GhostInput[1], 3);
    EXPECT_EQ(g.GhostPidIn[1], 256);
    EXPECT_EQ(g.GhostPidOut[1], 511);
}

TEST(GhostRows, LoadingTakesAtMostTheTableSlots) {
    auto store = test::ZeroStore();
    for (const int16_t count : {int16_t{-3}, int16_t{0}, int16_t{400}}) {
        store->Ghost.GhostCount = count;
        GhostRows rows;
        rows.LoadFrom(store->Ghost);
        EXPECT_EQ(rows.Count(), count < 0 ? 0 : std::min<int>(count, MaxGhosts)) << count;
    }
}

} // namespace
} // namespace kv
