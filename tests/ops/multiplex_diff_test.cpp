// The differences between two configurations, as the command line lists them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ops/bit_rate_entry.h"
#include "ops/multiplex_diff.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

std::unique_ptr<ConfigStore> Base() {
    auto store = test::RichStore();
    EXPECT_EQ(ApplyBitRateEntry(*store, "10000000", true).outcome, BitRateEntry::Outcome::Applied);
    return store;
}

TEST(MultiplexDiff, EqualStoresAndServicesInAnotherOrderDifferInNothing) {
    const auto a = Base();
    EXPECT_TRUE(DiffMultiplex(*a, *a).Empty());
    auto swapped = Base();
    std::swap(swapped->Svc.SvcInput[0], swapped->Svc.SvcInput[1]);
    std::swap(swapped->Svc.SvcPmtPid[0], swapped->Svc.SvcPmtPid[1]);
    std::swap(swapped->Svc.SvcInfo[0], swapped->Svc.SvcInfo[1]);
    std::swap(swapped->Svc.SvcPids[0], swapped->Svc.SvcPids[1]);
    EXPECT_TRUE(DiffMultiplex(*a, *swapped).Empty()) << DiffLines(DiffMultiplex(*a, *swapped)).front();
}

TEST(MultiplexDiff, EachKindOfDifferenceWithBothValues) {
    const auto a = Base();
    auto b = Base();
    test::SetText(b->Svc.NetName, "OTHER");
    b->Svc.TsId = 7;
    ASSERT_EQ(ApplyBitRateEntry(*b, "10000000", false).outcome, BitRateEntry::Outcome::Applied);
    b->Svc.SvcPids[0].VideoOut = 0x400; // Alpha's PCR stays on 0x300
    b->Svc.SvcPids[1].Audio[3].PidOut = PidNone;
    test::SetText(b->Svc.SvcInfo[2].Name, "Zulu");
    b->Ghost.GhostPidOut[0] = 0x7FF;

    const auto& g = a->Ghost;
    const std::vector<std::string> expected = {
        "network name: \"TEN  CHARS\" -> \"OTHER\"",
        "transport stream ID: 4660 -> 7",
        "mode: byte -> pack",
        "Alpha: video out: 768 -> 1024",
        "Bravo TV: audio 4 in: 533 -> none",
        "Bravo TV: audio 4 out: 789 -> none",
        "Bravo TV: audio 4 type: 4 -> none",
        "service added: Zulu",
        "service removed: Charlie",
        "ghost added: IN " + std::to_string(g.GhostInput[0]) + " PID " + std::to_string(g.GhostPidIn[0]) +
            " -> 2047",
        "ghost removed: IN " + std::to_string(g.GhostInput[0]) + " PID " + std::to_string(g.GhostPidIn[0]) +
            " -> " + std::to_string(g.GhostPidOut[0]),
    };
    std::vector<std::string> lines = DiffLines(DiffMultiplex(*a, *b));
    // Byte and pack tables of one typed rate need not give the same effective rate.
    std::erase_if(lines, [](const std::string& line) { return line.starts_with("bit rate: "); });
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace kv
