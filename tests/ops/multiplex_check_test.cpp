// The multiplex check: each finding from the smallest store that raises it,
// and the stores that must raise nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ops/bit_rate_entry.h"
#include "ops/multiplex_check.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using test::AddGhost;
using test::AddService;

// NEWS on IN 1 and SPORT on IN 2, each with its PCR on its own video PID and one audio.
std::unique_ptr<ConfigStore> TwoServices() {
    auto store = test::ZeroStore();
    for (int k = 0; k < 2; ++k) {
        ServicePids& p = AddService(*store, 1 + k, static_cast<uint16_t>(1 + k),
                                    static_cast<int16_t>(0x100 + 0x10 * k), k == 0 ? "NEWS" : "SPORT");
        p.PcrIn = p.VideoIn = static_cast<int16_t>(0x40 + 0x10 * k);
        p.PcrOut = p.VideoOut = static_cast<int16_t>(0x200 + 0x10 * k);
        p.Audio[0].PidIn = static_cast<int16_t>(0x41 + 0x10 * k);
        p.Audio[0].PidOut = static_cast<int16_t>(0x201 + 0x10 * k);
    }
    return store;
}

std::vector<std::string> Codes(const MultiplexReport& r) {
    std::vector<std::string> codes;
    for (const Finding& f : r.Findings) codes.push_back(f.Code);
    return codes;
}

TEST(MultiplexCheck, EachFindingAndTheSharesThatRaiseNothing) {
    struct Case {
        const char* name;
        std::function<void(ConfigStore&)> change;
        std::vector<std::string> codes;
        std::string inMessage; // in the first finding's message
        std::vector<int> pids; // of the first finding
    };
    auto news = [](ConfigStore& s) -> ServicePids& { return s.Svc.SvcPids[0]; };
    auto sport = [](ConfigStore& s) -> ServicePids& { return s.Svc.SvcPids[1]; };
    const Case cases[] = {
        {"two services as they should be", [](ConfigStore&) {}, {}, "", {}},
        {"one audio shared by two programs of one input",
         [&](ConfigStore& s) {
             s.Svc.SvcInput[1] = 1;
             sport(s).Audio[1] = news(s).Audio[0];
         },
         {},
         "",
         {}},
        {"ghost passing an input's EIT", [](ConfigStore& s) { AddGhost(s, 1, 0x12, 0x12); }, {}, "", {}},
        {"ghost entries alone generate no tables",
         [](ConfigStore& s) {
             s.Svc.SvcCount = 0;
             AddGhost(s, 1, 0x30, 0x0000);
         },
         {},
         "",
         {}},
        {"PMT not generated takes no PID",
         [&](ConfigStore& s) {
             sport(s).PmtPid = s.Svc.SvcPmtPid[1] = 0x100;
             sport(s).GenPmt = 0;
         },
         {},
         "",
         {}},
        {"two inputs on one output PID",
         [&](ConfigStore& s) { sport(s).PcrOut = sport(s).VideoOut = 0x200; },
         {"pid-conflict"},
         "video of NEWS (IN 1, PID 64) and video of SPORT (IN 2, PID 80)",
         {0x200}},
        {"ghost on a service's output PID",
         [](ConfigStore& s) { AddGhost(s, 3, 0x50, 0x201); },
         {"pid-conflict"},
         "audio 1 of NEWS (IN 1, PID 65) and ghost (IN 3, PID 80)",
         {0x201}},
        {"stream on the SDT",
         [&](ConfigStore& s) { sport(s).Audio[0].PidOut = 0x11; },
         {"pid-generated"},
         "of the SDT is also used by audio 1 of SPORT (IN 2, PID 81)",
         {0x11}},
        {"ghost on the PAT",
         [](ConfigStore& s) { AddGhost(s, 4, 0x00, 0x00); },
         {"pid-generated"},
         "of the PAT is also used by ghost (IN 4, PID 0)",
         {0}},
        {"stream on another service's PMT",
         [&](ConfigStore& s) { sport(s).Audio[0].PidOut = 0x100; },
         {"pid-generated"},
         "of the PMT of NEWS is also used by audio 1 of SPORT",
         {0x100}},
        {"two PMTs on one PID",
         [&](ConfigStore& s) { sport(s).PmtPid = s.Svc.SvcPmtPid[1] = 0x100; },
         {"pid-generated"},
         "the PMT of NEWS is also used by the PMT of SPORT",
         {0x100}},
        {"one Service ID twice",
         [&](ConfigStore& s) { sport(s).ServiceId = 1; },
         {"service-id"},
         "Service ID 1 is used by 2 services: NEWS and SPORT",
         {0x100, 0x110}},
        {"42 services",
         [](ConfigStore& s) {
             for (int k = 2; k < 42; ++k)
                 AddService(s, 3, static_cast<uint16_t>(k + 1), static_cast<int16_t>(0x1000 + k));
         },
         {"limit"},
         "Limited 41 programs per Mux.",
         {}},
        {"45 pairs on IN 5",
         [](ConfigStore& s) {
             for (int k = 0; k < 45; ++k)
                 AddGhost(s, 5, static_cast<int16_t>(0x30 + k), static_cast<int16_t>(0x800 + k));
         },
         {"limit"},
         "IN 5 needs 45.",
         {}},
        {"33 adjusted PCRs",
         [](ConfigStore& s) {
             for (int k = 2; k < 33; ++k) {
                 ServicePids& p =
                     AddService(s, 3, static_cast<uint16_t>(k + 1), static_cast<int16_t>(0x1000 + k));
                 p.PcrIn = static_cast<int16_t>(0x40 + k);
                 p.PcrOut = static_cast<int16_t>(0x1100 + k);
             }
         },
         {"limit"},
         "33 are marked.",
         {}},
        {"stream among the other tables",
         [&](ConfigStore& s) {
             news(s).Audio[1] = {0, 0x42, 0x14, 0, 0};
         },
         {"pid-reserved"},
         "audio 2 of NEWS (IN 1, PID 66) goes out on PID 20 (0x0014)",
         {0x14}},
        {"one input PID on two outputs",
         [&](ConfigStore& s) {
             news(s).Audio[1] = {0, 0x41, 0x202, 0, 0};
         },
         {"input-split"},
         "IN 1 PID 65 (0x0041) goes out on PIDs 513 (0x0201) and 514 (0x0202)",
         {0x201, 0x202}},
        {"audio without a PCR",
         [&](ConfigStore& s) { sport(s).PcrOut = PidNone; },
         {"no-pcr"},
         "SPORT has video or audio but no PCR",
         {}},
        {"no services and no ghost entries",
         [](ConfigStore& s) { s.Svc.SvcCount = 0; },
         {"empty"},
         "sending it leaves the device with no output",
         {}},
        {"PIDs and inputs no image carries",
         [&](ConfigStore& s) {
             news(s).Audio[0].PidOut = 9000;
             s.Svc.SvcInput[1] = 9;
             AddGhost(s, 3, 0x50, -2);
         },
         {"pid-range", "pid-range", "pid-range"},
         "NEWS: audio 1 out 9000 is not a PID (0..8191).",
         {}},
        {"PAT and PMT on different PIDs",
         [](ConfigStore& s) { s.Svc.SvcPmtPid[1] = 0x120; },
         {"pmt-pid"},
         "SPORT: the PAT names PMT PID 288 (0x0120) but the PMT goes out on 272 (0x0110).",
         {0x120, 0x110}},
        {"one PCR adjusted by one service, not by the other",
         [&](ConfigStore& s) {
             s.Svc.SvcInput[1] = 1;
             sport(s).PcrIn = sport(s).VideoIn = news(s).PcrIn;
             sport(s).PcrOut = sport(s).VideoOut = news(s).PcrOut;
             sport(s).PcrAdjust = 0;
         },
         {"pcr-adjust"},
         "PCR PID 512 (0x0200) is marked for adjustment by NEWS but not by SPORT.",
         {0x200}},
        {"pacing table of another rate",
         [](ConfigStore& s) { s.Svc.BitRate = 10'000'000; },
         {"rate-table"},
         "10000000",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto store = TwoServices();
        c.change(*store);
        const MultiplexReport report = CheckMultiplex(*store);
        EXPECT_EQ(Codes(report), c.codes);
        if (c.codes.empty() || report.Findings.empty()) continue;
        EXPECT_NE(report.Findings[0].Message.find(c.inMessage), std::string::npos)
            << report.Findings[0].Message;
        EXPECT_EQ(report.Findings[0].Pids, c.pids);
        EXPECT_EQ(report.Errors() + report.Warnings(), static_cast<int>(c.codes.size()));
    }
}

TEST(MultiplexCheck, ARateTableOfItsBitRateAndARichStoreRaiseNothing) {
    auto store = TwoServices();
    ASSERT_EQ(ApplyBitRateEntry(*store, "10000000", false).outcome, BitRateEntry::Outcome::Applied);
    EXPECT_TRUE(CheckMultiplex(*store).Findings.empty());
    EXPECT_TRUE(CheckMultiplex(*test::RichStore()).Findings.empty());
}

TEST(MultiplexCheck, ErrorsComeFirstAndAreCountedApartFromWarnings) {
    auto store = TwoServices();
    store->Svc.SvcPids[1].PcrOut = PidNone;       // warning no-pcr
    store->Svc.SvcPids[1].ServiceId = 1;          // error service-id
    store->Svc.SvcPids[0].Audio[0].PidOut = 0x14; // warning pid-reserved
    const MultiplexReport r = CheckMultiplex(*store);
    EXPECT_EQ(Codes(r), (std::vector<std::string>{"service-id", "pid-reserved", "no-pcr"})); // errors first
    EXPECT_EQ(r.Errors(), 1);
    EXPECT_EQ(r.Warnings(), 2);
}

TEST(MultiplexCheck, SendAnywayListsAtMostTenErrors) {
    auto store = TwoServices();
    EXPECT_EQ(SendAnywayQuestion(CheckMultiplex(*store)), "");
    store->Svc.SvcPids[1].ServiceId = 1;
    EXPECT_EQ(
        SendAnywayQuestion(CheckMultiplex(*store)),
        "The multiplex has 1 errors:\nService ID 1 is used by 2 services: NEWS and SPORT.\nSend anyway?");
    for (int k = 0; k < 11; ++k) // one output PID from two inputs, eleven times
        for (int input : {3, 4})
            AddGhost(*store, input, static_cast<int16_t>(0x60 + k), static_cast<int16_t>(0x300 + k));
    const std::string question = SendAnywayQuestion(CheckMultiplex(*store));
    EXPECT_TRUE(question.starts_with("The multiplex has 12 errors:\n")) << question;
    EXPECT_TRUE(question.ends_with(".\n...\nSend anyway?")) << question;
    EXPECT_EQ(std::count(question.begin(), question.end(), '\n'), 12);
}

TEST(MultiplexCheck, OutputsAscendWithWhatTheyCarryAndTheCounts) {
    auto store = TwoServices();
    store->Svc.SvcPids[1].GenPmt = 0;
    AddGhost(*store, 2, 0x12, 0x12);
    const MultiplexReport r = CheckMultiplex(*store);
    std::vector<std::string> rows;
    for (const OutputUse& o : r.Outputs)
        rows.push_back(std::to_string(o.Pid) + " " + o.Carries + " " + std::to_string(o.Input) + "/" +
                       std::to_string(o.InputPid));
    const std::vector<std::string> expected = {"0 PAT 0/-1",
                                               "16 NIT 0/-1",
                                               "17 SDT 0/-1",
                                               "18 ghost 2/18",
                                               "256 PMT of NEWS 0/-1",
                                               "512 PCR of NEWS 1/64",
                                               "512 video of NEWS 1/64",
                                               "513 audio 1 of NEWS 1/65",
                                               "528 PCR of SPORT 2/80",
                                               "528 video of SPORT 2/80",
                                               "529 audio 1 of SPORT 2/81"};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(r.Pairs[0], 3);
    EXPECT_EQ(r.Pairs[1], 4);
    EXPECT_EQ(r.Services, 2);
    EXPECT_EQ(r.AdjustedPcrs, 2);
}

} // namespace
} // namespace kv
