// kv2208-cli image, decode and ts: the same bytes as the core builds, the
// refusals with their exit statuses.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <map>

#include "model/cli_run.h"
#include "model/project_file.h"
#include "ops/bit_rate_entry.h"
#include "ops/readback_display.h"
#include "tables/image_writer.h"
#include "tables/rate.h"
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

// Every refusal names the file and why, exits with its <sysexits.h> status
// and writes nothing.
TEST(CliImage, RefusalsWriteNothing) {
    test::TempFolder folder;
    auto tooMany = test::ZeroStore();
    for (int i = 0; i < 42; ++i) test::AddService(*tooMany, 1, static_cast<uint16_t>(i), 0x100);
    const std::string crowded = SaveProject(folder, *tooMany, "crowded.MUX");
    const std::string rich = SaveProject(folder, *test::RichStore(), "rich.MUX");
    auto damaged = test::BytesOf(*test::RichStore());
    damaged[offsetof(ServiceBlock, SvcCount)] = 150;
    test::WriteBytes(folder.File("damaged.MUX"), damaged);
    test::WriteBytes(folder.File("short.MUX"), std::vector<uint8_t>(100));
    test::WriteBytes(folder.File("image.MUX"), BuildConfigImage(*test::RichStore(), 1));
    test::WriteBytes(folder.File("empty.img"), {});
    const std::string out = folder.File("out");
    const std::string none = folder.File("none.MUX");
    const auto said = [](const std::string& file, const std::string& text) {
        return "kv2208-cli: " + file + ": " + text + "\n";
    };
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"image", crowded, "-o", out}, 65, said(crowded, "Limited 41 programs per Mux.")},
        {{"ts", crowded, "-o", out}, 65, said(crowded, "Limited 41 programs per Mux.")},
        {{"image", rich, "-o", out, "--rate", "27.000.000"},
         65,
         said(rich, "Bit rate must be between 503571 and 216000000 (Bps). (--rate 27.000.000)")},
        {{"ts", rich, "-o", out, "--rate", "1232222", "--mode", "pack"},
         65,
         said(rich, "Bit rate must be between 1232223 and 216000000 (Bps). (--rate 1232222)")},
        {{"image", rich, "-o", out, "--rate", "0"}, 64, ""},
        {{"image", rich, "-o", out, "--mode", "pack"}, 64, ""},
        {{"image", rich, "-o", out, "--pat-version", "32"}, 64, ""},
        {{"image", none, "-o", out}, 66, said(none, "Cannot open input file. (No such file or directory)")},
        {{"image", folder.File("damaged.MUX"), "-o", out},
         65,
         said(folder.File("damaged.MUX"), "File corrupted! (service count 150 out of range 0..100)")},
        {{"ts", folder.File("short.MUX"), "-o", out},
         65,
         said(folder.File("short.MUX"), "File corrupted! (100 bytes, a project file has 13880)")},
        {{"image", folder.File("image.MUX"), "-o", out},
         65,
         said(folder.File("image.MUX"), "File corrupted! (a configuration image, not a project file; "
                                        "\"kv2208-cli decode\" makes a project file of it)")},
        {{"decode", folder.File("none.img"), "-o", out},
         66,
         said(folder.File("none.img"), "Cannot open input file. (No such file or directory)")},
        {{"decode", folder.File("empty.img"), "-o", out},
         65,
         said(folder.File("empty.img"), "not a configuration image: the file is empty")},
        {{"decode", rich, "-o", out},
         65,
         said(rich, "not a configuration image: this is a project file (*.MUX), not a configuration image")},
        {{"image", rich, "-o", folder.File("no/such/folder")},
         73,
         said(folder.File("no/such/folder"), "Cannot create output file. (No such file or directory)")},
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

// A file whose pacing table is not that of its BitRate is built from the
// table as stored, with a warning naming both rates; --rate recomputes it.
TEST(CliImage, AStoredTableOfAnotherRateIsUsedWithAWarning) {
    test::TempFolder folder;
    auto store = test::RichStore();
    ApplyBitRateEntry(*store, "25356228", true);
    store->Svc.BitRate = store->Ghost.GhostBitRate = 27000000;
    const std::string project = SaveProject(folder, *store);
    const auto run = test::RunCli(folder, {"image", project, "-o", folder.File("a.img")});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "kv2208-cli: " + project +
                           ": warning: the stored pacing table gives 25356228 bit/s, not "
                           "the file's BitRate of 27000000 bit/s; it is used as stored "
                           "(--rate recomputes it)\n");
    EXPECT_EQ(test::ReadBytes(folder.File("a.img")), BuildConfigImage(*store, 1));

    const auto again = test::RunCli(folder, {"image", project, "-o", "-", "--rate", "27000000"});
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "");
    store->Svc.BitRate = 0;
    ApplyBitRateEntry(*store, "27000000", true);
    EXPECT_EQ(std::vector<uint8_t>(again.out.begin(), again.out.end()), BuildConfigImage(*store, 1))
        << "- writes to standard output";
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
    // Refused whole; --partial keeps what could be read, and still refuses.
    const std::string why = "kv2208-cli: " + folder.File("broken.img") +
                            ": Error in file. (record 3, the PID map of input 3, is not B8 01)\n";
    for (bool partial : {false, true}) {
        std::vector<std::string> args = {"decode", folder.File("broken.img"), "-o", folder.File("b.MUX")};
        if (partial) args.push_back("--partial");
        const auto refused = test::RunCli(folder, args);
        EXPECT_EQ(refused.status, 65);
        EXPECT_EQ(refused.err, why);
        EXPECT_EQ(std::filesystem::exists(folder.File("b.MUX")), partial);
    }
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
