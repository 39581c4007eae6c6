// kv2208-cli image, decode and ts: the same bytes as the core builds, the
// refusals with their exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "model/cli_run.h"
#include "model/project_file.h"
#include "tables/image_writer.h"
#include "tables/rate.h"
#include "tables/readback_display.h"
#include "tables/signalling_packets.h"
#include "tables_test_support.h"

namespace kv {
namespace {

std::string SaveProject(const test::TempFolder& folder, const ConfigStore& store,
                        const std::string& name = "p.MUX") {
    const std::string path = folder.File(name);
    EXPECT_EQ(WriteProjectFile(path, store), ProjectFileStatus::Ok);
    return path;
}

TEST(CliImage, WritesTheImageSendMuxBuilds) {
    test::TempFolder folder;
    const auto store = test::RichStore();
    const std::string project = SaveProject(folder, *store);
    const auto run = test::RunCli(folder, {"image", project, "-o", folder.File("a.img")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(folder.File("a.img")), BuildConfigImage(*store, 1))
        << "PAT version 1 by default";

    ASSERT_EQ(
        test::RunCli(folder, {"image", project, "-o", folder.File("b.img"), "--pat-version", "17"}).status,
        0);
    EXPECT_EQ(test::ReadBytes(folder.File("b.img")), BuildConfigImage(*store, 17));
}

TEST(CliImage, RateRunsTheBitRateExitStepsFirst) {
    test::TempFolder folder;
    const std::string project = SaveProject(folder, *test::RichStore());
    const auto run = test::RunCli(
        folder, {"image", project, "-o", folder.File("a.img"), "--rate", "38000000", "--mode", "pack"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto image = test::ReadBytes(folder.File("a.img"));
    const RateTable pack = ComputeRateGaps(38001122, false);
    EXPECT_EQ(image[10] | (image[11] << 8), static_cast<uint16_t>(pack.Gaps[0]));
    EXPECT_EQ(image[12], 0) << "Pack mode: no stuffing";
    EXPECT_EQ(image[13] | (image[14] << 8), static_cast<uint16_t>(pack.Gaps[1]));
}

TEST(CliImage, RefusalsWriteNothing) {
    test::TempFolder folder;
    auto tooMany = test::ZeroStore();
    for (int i = 0; i < 42; ++i) test::AddService(*tooMany, 1, static_cast<uint16_t>(i), 0x100);
    const std::string crowded = SaveProject(folder, *tooMany, "crowded.MUX");
    const std::string rich = SaveProject(folder, *test::RichStore(), "rich.MUX");
    const std::string out = folder.File("out");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"image", crowded, "-o", out}, 65, "Limited 41 programs per Mux.\n"},
        {{"ts", crowded, "-o", out}, 65, "Limited 41 programs per Mux.\n"},
        {{"image", rich, "-o", out, "--rate", "27.000.000"},
         65,
         "Bit rate must be between 358070 and 216000000 (Bps).\n"},
        {{"image", rich, "-o", out, "--rate", "617864", "--mode", "pack"},
         65,
         "Bit rate must be between 617865 and 216000000 (Bps).\n"},
        {{"image", rich, "-o", out, "--rate", "0"}, 64, ""},
        {{"image", rich, "-o", out, "--mode", "pack"}, 64, ""},
        {{"image", rich, "-o", out, "--pat-version", "32"}, 64, ""},
        {{"image", folder.File("none.MUX"), "-o", out}, 65, "Cannot open input file.\n"},
        {{"decode", folder.File("none.img"), "-o", out}, 65, "Cannot open input file.\n"},
        {{"image", rich, "-o", folder.File("no/such/folder")}, 65, ""},
    };
    for (const Case& c : cases) {
        const auto run = test::RunCli(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args.back() << ": " << run.err;
        if (!c.message.empty()) {
            EXPECT_EQ(run.err, c.message);
        }
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args.back();
    }
}

TEST(CliDecode, SavesTheProjectOfAFreshGet) {
    test::TempFolder folder;
    const auto image = BuildConfigImage(*test::RichStore(), 3);
    test::WriteBytes(folder.File("dev.img"), image);
    const auto run = test::RunCli(folder, {"decode", folder.File("dev.img"), "-o", folder.File("got.MUX")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(folder.File("got.MUX")), test::BytesOf(DecodeImageToProject(image)));

    auto broken = image;
    broken[3 * 188] = 0; // input 3's map
    test::WriteBytes(folder.File("broken.img"), broken);
    const auto warned =
        test::RunCli(folder, {"decode", folder.File("broken.img"), "-o", folder.File("b.MUX")});
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, "Error in file.\n");
}

TEST(CliTs, CountersRunPerPidAndEveryOtherByteIsTheImagePacket) {
    test::TempFolder folder;
    const auto store = test::RichStore();
    const std::string project = SaveProject(folder, *store);
    ASSERT_EQ(test::RunCli(folder, {"ts", project, "-o", folder.File("out.ts"), "--pat-version", "4"}).status,
              0);
    const auto ts = test::ReadBytes(folder.File("out.ts"));
    const auto packets = SignallingPackets(*store, 4);
    ASSERT_EQ(ts.size(), packets.size() * 188);
    std::map<int, int> seen;
    for (std::size_t k = 0; k < packets.size(); ++k) {
        const auto packet = test::Slice(ts, k * 188, 188);
        const int pid = ((packet[1] & 0x1F) << 8) | packet[2];
        EXPECT_EQ(packet[3] & 0x0F, seen[pid]++ % 16) << "packet " << k;
        auto expected = test::Slice(packets[k], 0, 188);
        expected[3] = packet[3];
        EXPECT_EQ(packet, expected) << "packet " << k;
    }
    EXPECT_EQ(seen[0x11], 2) << "SDT and its continuation";
}

} // namespace
} // namespace kv
