// What the window shows after "Get", and the project a fresh program saves.
#include <gtest/gtest.h>

#include "ops/readback_display.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

TEST(ReadBackDisplay, WithServicesTheBoxesComeFromTheServiceRate) {
    const auto sent = test::RichStore();
    auto got = test::ZeroStore();
    const ReadBackResult r = ParseReadBack(BuildConfigImage(*sent, 1), *got);
    const ReadBackDisplay shown = DisplayAfterReadBack(*got, r);
    EXPECT_TRUE(shown.HasServices);
    EXPECT_EQ(shown.NetName, "TEN  CHARS");
    EXPECT_EQ(shown.BitRate, 38001122);
    EXPECT_FALSE(shown.PackMode);
    EXPECT_EQ(shown.TsIdText, "4660");
    EXPECT_EQ(shown.ProgramNames, (std::vector<std::string>{"Alpha", "Bravo TV", "Charlie", "Delta FM",
                                                            "Echo", "Foxtrot", "Golf"}));
}

TEST(ReadBackDisplay, RateAbove108MillionSentInByteModeShowsPack) {
    auto sent = test::RichStore();
    const int16_t gaps[10] = {};
    test::SetRate(*sent, gaps, 0); // 216 000 000 in either mode
    auto got = test::ZeroStore();
    const ReadBackDisplay shown = DisplayAfterReadBack(*got, ParseReadBack(BuildConfigImage(*sent, 1), *got));
    EXPECT_TRUE(shown.PackMode);
    EXPECT_EQ(shown.BitRate, 216000000);
}

TEST(ReadBackDisplay, ZeroDivisorHeaderShowsRate0) {
    auto image = BuildConfigImage(*test::RichStore(), 1);
    // Every gap slot -188 and no stuffing: the divisor is 0.
    for (int slot = 0; slot < 10; ++slot) {
        const std::size_t at = slot == 0 ? 10 : 11 + 2 * slot;
        image[at] = 0x44;
        image[at + 1] = 0xFF;
    }
    image[12] = 0;
    auto got = test::ZeroStore();
    const ReadBackDisplay shown = DisplayAfterReadBack(*got, ParseReadBack(image, *got));
    EXPECT_EQ(shown.BitRate, 0);
}

TEST(ReadBackDisplay, DecodeSavesTheBoxesAsGetFilledThem) {
    ReadBackResult r;
    const ConfigStore withServices = DecodeImageToProject(BuildConfigImage(*test::RichStore(), 5), &r);
    EXPECT_EQ(r.PatVersion, 5);
    EXPECT_EQ(withServices.Svc.SvcCount, 7);
    EXPECT_EQ(withServices.Svc.TsId, 4660);
    EXPECT_EQ(withServices.Svc.BitRate, 38001122);
    EXPECT_EQ(withServices.Ghost.GhostBitRate, 0) << "Save leaves the copy alone";

    // Ghost entries only: the rate from the ghost copies, the TSID box still empty.
    auto ghosts = test::ZeroStore();
    ghosts->Svc.TsId = 77;
    test::AddGhost(*ghosts, 1, 0x10, 0x20);
    const int16_t gaps[10] = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    test::SetRate(*ghosts, gaps, 7);
    const ConfigStore ghostOnly = DecodeImageToProject(BuildConfigImage(*ghosts, 1));
    EXPECT_EQ(ghostOnly.Svc.SvcCount, 0);
    EXPECT_EQ(ghostOnly.Ghost.GhostCount, 1);
    EXPECT_EQ(ghostOnly.Svc.TsId, 0);
    EXPECT_EQ(ghostOnly.Svc.BitRate, 27000000);
    EXPECT_EQ(ghostOnly.Svc.RateStuff, 0) << "the service copy is not read without services";
    EXPECT_EQ(ghostOnly.Ghost.GhostRateStuff, 7);
}

} // namespace
} // namespace kv
