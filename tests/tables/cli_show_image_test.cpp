// kv2208-cli show on a configuration image: every record decoded, every
// section's CRC judged.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/cli_run.h"
#include "tables/image_writer.h"
#include "tables_test_support.h"

namespace kv {
namespace {

using nlohmann::json;

json ShowImage(const test::TempFolder& folder, const std::vector<uint8_t>& image) {
    test::WriteBytes(folder.File("shown.img"), image);
    const auto run = test::RunCli(folder, {"show", folder.File("shown.img")});
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out);
}

TEST(CliShowImage, DecodesEveryRecordOfTheRichImage) {
    test::TempFolder folder;
    const json shown = ShowImage(folder, BuildConfigImage(*test::RichStore(), 6));
    const json& records = shown.at("records");
    ASSERT_EQ(records.size(), 22u);

    EXPECT_EQ(records[0].at("record"), "header");
    EXPECT_EQ(records[0].at("image_length"), 22 * 188);
    EXPECT_EQ(records[0].at("RateStuff"), 4);
    EXPECT_EQ(records[0].at("EffectiveBitRate"), 38001122);

    EXPECT_EQ(records[3].at("input"), 3);
    EXPECT_EQ(records[3].at("pairs"), json::parse(R"([{"in":560,"out":816},{"in":561,"out":817}])"));
    EXPECT_EQ(records[9].at("record"), "reserved PID map");
    EXPECT_EQ(records[9].at("all_zero"), true);
    EXPECT_EQ(records[10].at("list_A"), json::parse("[768, 800, 816, 832, 848, 864]"));
    EXPECT_EQ(records[10].at("list_B")[1], json::parse(R"({"PID":784,"adjusted":false})"));

    const std::vector<std::string> tables = {"PAT", "NIT", "SDT", "",    "PMT", "PMT",
                                             "PMT", "PMT", "PMT", "PMT", "PMT"};
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const json& packet = records[11 + k];
        if (tables[k].empty()) {
            EXPECT_EQ(packet.at("continuation"), true);
            continue;
        }
        EXPECT_EQ(packet.at("section").at("table"), tables[k]) << k;
        EXPECT_EQ(packet.at("section").at("CRC_32"), "correct") << k;
    }
    EXPECT_EQ(records[11].at("section").at("version_number"), 6);
    EXPECT_EQ(records[13].at("section").at("services").size(), 7u) << "the SDT joined across its two packets";
    EXPECT_EQ(records[17].at("PID"), 8191);
    EXPECT_EQ(records[17].at("PMT_PID_at_end"), 0x120);
    const json& subtitles = records[15].at("section").at("streams")[3].at("descriptors")[2];
    EXPECT_EQ(subtitles.at("subtitling_type"), "0x10");
    EXPECT_EQ(subtitles.at("ISO_639_language_code"), "por");
}

TEST(CliShowImage, WrongCrcAndDamagedRecordsAreShownNotTrusted) {
    test::TempFolder folder;
    auto image = BuildConfigImage(*test::RichStore(), 1);
    image[12 * 188 + 20] ^= 0x01; // a name byte of the NIT
    image[15 * 188 + 7] = 0xFF;   // a PMT claiming 255 bytes
    image[11 * 188 + 7] = 0x00;   // a PAT of length 0
    const json records = ShowImage(folder, image).at("records");
    EXPECT_EQ(records[12].at("section").at("CRC_32"), "wrong");
    EXPECT_EQ(records[15].at("section").at("CRC_32"), "section cut off");
    EXPECT_EQ(records[11].at("section").at("CRC_32"), "section cut off");

    std::vector<uint8_t> garbage(188 * 5, 0xB8);
    EXPECT_EQ(ShowImage(folder, garbage).at("records").size(), 5u);
}

} // namespace
} // namespace kv
