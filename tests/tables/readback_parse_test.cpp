// "Get": the device's image parsed back into the store, and what untrusted
// bytes cannot do to it.
#include <gtest/gtest.h>

#include "model/store_invariants.h"
#include "tables/image_writer.h"
#include "tables/rate.h"
#include "tables/readback_parse.h"
#include "tables/sdt_table.h"
#include "tables_test_support.h"

namespace kv {
namespace {

// A service's SvcPids bytes without the read-back's work flags.
std::vector<uint8_t> PidsWithoutWorkFlags(ServicePids p) {
    for (AudioSlot& a : p.Audio) a.Taken = 0;
    for (DataSlot& d : p.Data) d.Taken = 0;
    return test::BytesOf(p);
}

// Everything the image carries must come back as it was.
void ExpectSameDescription(const ConfigStore& sent, const ConfigStore& got) {
    ASSERT_EQ(got.Svc.SvcCount, sent.Svc.SvcCount);
    EXPECT_EQ(got.Svc.TsId, sent.Svc.TsId);
    EXPECT_STREQ(got.Svc.NetName, sent.Svc.NetName);
    EXPECT_EQ(test::BytesOf(got.Svc.RateGaps), test::BytesOf(sent.Svc.RateGaps));
    EXPECT_EQ(got.Svc.RateStuff, sent.Svc.RateStuff);
    EXPECT_EQ(test::BytesOf(got.Ghost.GhostRateGaps), test::BytesOf(sent.Svc.RateGaps));
    EXPECT_EQ(got.Ghost.GhostRateStuff, sent.Svc.RateStuff);
    for (int i = 0; i < sent.Svc.SvcCount; ++i) {
        EXPECT_EQ(got.Svc.SvcInput[i], sent.Svc.SvcInput[i]) << "service " << i;
        EXPECT_EQ(got.Svc.SvcPmtPid[i], sent.Svc.SvcPmtPid[i]) << "service " << i;
        EXPECT_EQ(test::BytesOf(got.Svc.SvcInfo[i]), test::BytesOf(sent.Svc.SvcInfo[i])) << "service " << i;
        EXPECT_EQ(PidsWithoutWorkFlags(got.Svc.SvcPids[i]), PidsWithoutWorkFlags(sent.Svc.SvcPids[i]))
            << "service " << i;
    }
    ASSERT_EQ(got.Ghost.GhostCount, sent.Ghost.GhostCount);
    for (int j = 0; j < sent.Ghost.GhostCount; ++j) {
        EXPECT_EQ(got.Ghost.GhostInput[j], sent.Ghost.GhostInput[j]) << "ghost " << j;
        EXPECT_EQ(got.Ghost.GhostPidIn[j], sent.Ghost.GhostPidIn[j]) << "ghost " << j;
        EXPECT_EQ(got.Ghost.GhostPidOut[j], sent.Ghost.GhostPidOut[j]) << "ghost " << j;
    }
}

TEST(ReadBack, RichDescriptionComesBackWhole) {
    const auto sent = test::RichStore();
    auto got = test::ZeroStore();
    const ReadBackResult r = ParseReadBack(BuildConfigImage(*sent, 9), *got);
    EXPECT_EQ(r.ServiceCount, 7);
    EXPECT_EQ(r.PatVersion, 9);
    EXPECT_EQ(r.NetNameShown, "TEN  CHARS");
    EXPECT_TRUE(r.Messages.empty());
    ExpectSameDescription(*sent, *got);
}

TEST(ReadBack, EveryServiceCountFindsItsPmtsWhereTheWriterPutThem) {
    for (int n : {1, 5, 6, 12, 24, 41}) {
        auto sent = test::ZeroStore();
        const int16_t gaps[10] = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
        test::SetRate(*sent, gaps, 7);
        for (int i = 0; i < n; ++i) {
            const auto pid = static_cast<int16_t>(0x100 + 4 * i);
            ServicePids& p =
                test::AddService(*sent, 1 + i % 8, static_cast<uint16_t>(3 * i + 1),
                                 static_cast<int16_t>(0x1000 + i), ("N" + std::to_string(i)).c_str());
            p.PcrIn = p.VideoIn = pid;
            p.PcrOut = p.VideoOut = pid;
            p.Audio[0] = {static_cast<int16_t>(i % 5), static_cast<int16_t>(pid + 1),
                          static_cast<int16_t>(pid + 1), 0, 0};
            p.GenPmt = static_cast<uint8_t>(i % 3 != 0);
            p.PcrAdjust = static_cast<uint8_t>(i % 2);
        }
        auto got = test::ZeroStore();
        ParseReadBack(BuildConfigImage(*sent, 1), *got);
        SCOPED_TRACE(std::to_string(n) + " services");
        ExpectSameDescription(*sent, *got);
    }
}

TEST(ReadBack, DataStreamWithoutDescriptorsClearsAStaleSubtitleFlag) {
    auto sent = test::ZeroStore();
    ServicePids& p = test::AddService(*sent, 1, 1, 0x100);
    p.Data[0].PidOut = 0x140;
    auto got = test::ZeroStore();
    got->Svc.SvcPids[0].Data[0].SubEnable = 1; // left from an earlier description
    ParseReadBack(BuildConfigImage(*sent, 1), *got);
    EXPECT_EQ(got->Svc.SvcPids[0].Data[0].PidOut, 0x140);
    EXPECT_EQ(got->Svc.SvcPids[0].Data[0].SubEnable, 0);
}

TEST(ReadBack, EitFlagsComeFromTheLowTwoBitsWhateverTheUpperBits) {
    auto sent = test::ZeroStore();
    test::AddService(*sent, 1, 1, 0x100);
    auto image = BuildConfigImage(*sent, 1);
    const std::size_t flags = 13 * 188 + SdtFirstServiceAt + SdtEntryEitFlagsAt;
    for (uint8_t byte : {0x03, 0xFD, 0x02, 0xFC}) {
        image[flags] = byte;
        auto got = test::ZeroStore();
        ParseReadBack(image, *got);
        EXPECT_EQ(got->Svc.SvcInfo[0].EitPresent, byte & 1) << int(byte);
        EXPECT_EQ(got->Svc.SvcInfo[0].EitSchedule, (byte >> 1) & 1) << int(byte);
    }
}

// An image without a PAT holds no services: the store's own are dropped,
// not matched against the pairs.
TEST(ReadBack, ImageWithoutPatLeavesNoServicesAndReadsGhostsAndGhostRate) {
    auto sent = test::ZeroStore();
    test::AddGhost(*sent, 4, 0x10, 0x20);
    const int16_t gaps[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::copy(gaps, gaps + 10, sent->Ghost.GhostRateGaps);
    sent->Ghost.GhostRateStuff = 5;
    test::AddGhost(*sent, 1, 0x300, 0x300); // the output PID of a service the store holds
    auto got = test::RichStore();
    const ReadBackResult r = ParseReadBack(BuildConfigImage(*sent, 1), *got);
    EXPECT_EQ(r.ServiceCount, 0);
    EXPECT_EQ(r.PatVersion, -1);
    EXPECT_EQ(r.NetNameShown, "");
    EXPECT_EQ(got->Svc.SvcCount, 0);
    EXPECT_EQ(got->Svc.SvcPids[0].PcrIn, 0x200) << "no stale service took a pair";
    EXPECT_EQ(got->Ghost.GhostBitRate, EffectiveBitRate(gaps, 5));
    EXPECT_EQ(test::BytesOf(got->Ghost.GhostRateGaps), test::BytesOf(gaps));
    EXPECT_EQ(got->Ghost.GhostRateStuff, 5);
    ASSERT_EQ(got->Ghost.GhostCount, 2);
    EXPECT_EQ(got->Ghost.GhostPidOut[0], 0x300);
    EXPECT_EQ(got->Ghost.GhostPidOut[1], 0x20);
}

TEST(ReadBack, BadPidMapsAreReportedOnceEachAndSkipped) {
    auto image = BuildConfigImage(*test::RichStore(), 1);
    image[2 * 188] = 0x47;     // input 2's map
    image[5 * 188 + 1] = 0x04; // input 5's map
    auto got = test::ZeroStore();
    const ReadBackResult r = ParseReadBack(image, *got);
    EXPECT_EQ(r.Messages, (std::vector<std::string>{"Error in file.", "Error in file."}));
    EXPECT_EQ(got->Svc.SvcInput[1], 0) << "input 2 contributed nothing";
    EXPECT_EQ(got->Svc.SvcInput[0], 1);
    EXPECT_EQ(got->Ghost.GhostCount, 3) << "the ghost of input 5 is not read";
}

TEST(ReadBack, PatAnnouncingMoreThan41ServicesIsNotRecognised) {
    auto image = BuildConfigImage(*test::RichStore(), 1);
    const std::size_t pat = 11 * 188;
    for (unsigned length : {13u + 4 * 60, 13u + 4 * 42, 0u, 5u}) {
        image[pat + 6] = static_cast<uint8_t>(0xB0 | (length >> 8));
        image[pat + 7] = static_cast<uint8_t>(length);
        auto got = test::ZeroStore();
        const ReadBackResult r = ParseReadBack(image, *got);
        EXPECT_EQ(r.ServiceCount, 0) << length;
        EXPECT_EQ(got->Svc.SvcCount, 0) << length;
        EXPECT_EQ(StoreInvariantViolation(*got), std::nullopt);
    }
}

TEST(ReadBack, NetworkNameLongerThan10IsCut) {
    auto image = BuildConfigImage(*test::RichStore(), 1);
    image[12 * 188 + 16] = 200;
    auto got = test::ZeroStore();
    const ReadBackResult r = ParseReadBack(image, *got);
    EXPECT_EQ(r.NetNameShown, "TEN  CHARS");
    EXPECT_STREQ(got->Svc.NetName, "TEN  CHARS");
}

TEST(ReadBack, TruncatedImagesParseWhatIsThereAndNothingElse) {
    const auto full = BuildConfigImage(*test::RichStore(), 1);
    for (std::size_t size = 0; size < full.size(); size += 47) {
        const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        auto got = test::ZeroStore();
        const ReadBackResult r = ParseReadBack(part, *got);
        ASSERT_EQ(StoreInvariantViolation(*got), std::nullopt) << size;
        EXPECT_EQ(r.ServiceCount, size >= 12 * 188 ? 7 : 0) << size;
        const int mapsInFile = std::clamp(static_cast<int>(size / 188) - 1, 0, 8);
        EXPECT_EQ(r.Messages.size(), static_cast<std::size_t>(8 - mapsInFile))
            << size << ": maps missing from the file are bad maps";
    }
}

} // namespace
} // namespace kv
