// "Send Mux" then "Get": the multiplex read back from the image is the one
// that was sent, for the descriptions operators write every day.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ops/bit_rate_entry.h"
#include "ops/multiplex_check.h"
#include "ops/readback_display.h"
#include "ops/round_trip.h"
#include "tables/image_check.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using test::AddGhost;
using test::AddService;

// A radio service with its PCR on `radioPcr`, then a TV service, both on IN 1.
void RadioBeforeTv(ConfigStore& s, int16_t radioPcr) {
    ServicePids& radio = AddService(s, 1, 1, 0x100, "RADIO");
    radio.Audio[0] = {0, 0x21, 0x121, 0, 0};
    radio.PcrIn = radioPcr == 0x121 ? 0x21 : 0x20;
    radio.PcrOut = radioPcr;
    ServicePids& tv = AddService(s, 1, 2, 0x110, "TV");
    tv.PcrIn = 0x30;
    tv.PcrOut = 0x130;
    tv.VideoIn = 0x31;
    tv.VideoOut = 0x131;
    tv.Audio[0] = {0, 0x32, 0x132, 0, 0};
}

std::string Lines(const MultiplexDiff& diff) {
    std::string text;
    for (const std::string& line : DiffLines(diff)) text += line + "\n";
    return text;
}

TEST(RoundTrip, EverydayDescriptionsComeBackAsSent) {
    struct Case {
        const char* name;
        std::function<void(ConfigStore&)> describe;
    };
    const Case cases[] = {
        {"radio with its PCR on its audio PID, then TV", [](ConfigStore& s) { RadioBeforeTv(s, 0x121); }},
        {"radio with a PCR PID of its own, then TV", [](ConfigStore& s) { RadioBeforeTv(s, 0x120); }},
        {"audio in slots 3 and 4",
         [](ConfigStore& s) {
             ServicePids& p = AddService(s, 2, 7, 0x100, "SLOTS");
             p.PcrIn = p.VideoIn = 0x40;
             p.PcrOut = p.VideoOut = 0x140;
             p.Audio[2] = {1, 0x41, 0x141, 0, 0};
             p.Audio[3] = {4, 0x42, 0x142, 0, 0};
         }},
        {"data in slot 2",
         [](ConfigStore& s) {
             ServicePids& p = AddService(s, 3, 8, 0x100, "DATA");
             p.PcrIn = p.VideoIn = 0x40;
             p.PcrOut = p.VideoOut = 0x140;
             p.Data[1].PidIn = 0x43;
             p.Data[1].PidOut = 0x143;
             test::SetSubtitle(p.Data[1], 0, "deu", 0x10);
         }},
        {"ghost entries only at 27 000 000",
         [](ConfigStore& s) {
             AddGhost(s, 4, 0x12, 0x12);
             AddGhost(s, 4, 0x14, 0x14);
             ASSERT_EQ(ApplyBitRateEntry(s, "27000000", true).outcome, BitRateEntry::Outcome::Applied);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto sent = test::ZeroStore();
        sent->Svc.TsId = 77;
        test::SetText(sent->Svc.NetName, "NET");
        c.describe(*sent);
        if (sent->Svc.SvcCount > 0) {
            ASSERT_EQ(ApplyBitRateEntry(*sent, "10000000", true).outcome, BitRateEntry::Outcome::Applied);
        }
        ASSERT_EQ(CheckMultiplex(*sent).Errors(), 0);
        EXPECT_EQ(Lines(RoundTripDiff(*sent, 3)), "");
        const ConfigStore got = DecodeImageToProject(BuildConfigImage(*sent, 3));
        EXPECT_EQ(got.Ghost.GhostCount, sent->Ghost.GhostCount) << "no pair turned into a ghost entry";
        if (sent->Svc.SvcCount == 0) {
            EXPECT_EQ(got.Ghost.GhostBitRate, 27'000'000);
        }
    }
}

TEST(RoundTrip, AnEmptyMultiplexIsAnErrorYetItsImageReadsBack) {
    auto empty = test::ZeroStore();
    const MultiplexReport report = CheckMultiplex(*empty);
    ASSERT_EQ(report.Findings.size(), 1u);
    EXPECT_EQ(report.Findings[0].Code, "empty");
    EXPECT_EQ(report.Findings[0].Message, "The multiplex has no services and no ghost entries: sending it "
                                          "leaves the device with no output.");
    const std::vector<uint8_t> image = BuildConfigImage(*empty, 1);
    ReadBackResult parsed;
    const ConfigStore got = DecodeImageToProject(image, &parsed);
    EXPECT_EQ(ImageDecodeProblems(image, parsed), std::vector<std::string>{});
    EXPECT_EQ(got.Svc.SvcCount, 0);
    EXPECT_EQ(got.Ghost.GhostCount, 0);
}

} // namespace
} // namespace kv
