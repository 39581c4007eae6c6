// Descriptions: compose of export gives the same multiplex back, and every
// refusal of compose names its place in the description.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ops/bit_rate_entry.h"
#include "ops/multiplex_description.h"
#include "ops/multiplex_diff.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using json = nlohmann::ordered_json;

std::unique_ptr<ConfigStore> Composed(const json& description, ComposeForce force = ComposeForce::None) {
    auto store = test::ZeroStore();
    const ComposeResult result = ComposeMultiplex(description, *store, force);
    EXPECT_TRUE(result.Taken) << (result.Refusals.empty() ? "" : result.Refusals.front().Text());
    return store;
}

void ExpectSameMultiplex(const ConfigStore& project, const ConfigStore& composed) {
    const std::vector<std::string> lines = DiffLines(DiffMultiplex(project, composed));
    EXPECT_TRUE(lines.empty()) << lines.front();
    if (ImageLimitViolation(project)) return;
    EXPECT_EQ(BuildConfigImage(project, 5), BuildConfigImage(composed, 5)) << "the images differ";
}

std::vector<std::string> ExampleFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(KV_SOURCE_DIR "/data/examples"))
        files.push_back(entry.path().string());
    return files;
}

// The stores of the tests, as Open leaves them (the pacing table the rate's),
// and the examples: export and compose give each back whole.
TEST(MultiplexDescription, ComposeOfExportIsTheSameMultiplex) {
    std::vector<std::unique_ptr<ConfigStore>> projects;
    projects.push_back(test::SampleStore());
    projects.push_back(test::RichStore());
    auto ghostOnly = test::ZeroStore();
    test::AddGhost(*ghostOnly, 3, 18, 18);
    test::AddGhost(*ghostOnly, 8, 8190, 32);
    projects.push_back(std::move(ghostOnly));
    for (auto& project : projects) {
        const bool byteMode = ActiveRateStuff(*project) != 0 || ActiveBitRate(*project) == 0;
        ApplyBitRateEntry(
            *project, std::to_string(ActiveBitRate(*project) ? ActiveBitRate(*project) : 27000000), byteMode);
    }
    for (const std::string& file : ExampleFiles()) {
        auto example = test::ZeroStore();
        const ComposeResult result = ReadDescriptionFile(file, *example, ComposeForce::None);
        ASSERT_TRUE(result.Taken) << file << ": " << result.Refusals.front().Text();
        projects.push_back(std::move(example));
    }
    for (const auto& project : projects) {
        SCOPED_TRACE(DescriptionText(*project));
        ExpectSameMultiplex(*project, *Composed(DescribeMultiplex(*project), ComposeForce::All));
    }
}

// A pacing table that is not the bit rate's is made anew from the rate; all
// else comes back.
TEST(MultiplexDescription, ForeignPacingTableIsMadeFromTheRate) {
    auto project = test::RichStore();
    ASSERT_EQ(ApplyBitRateEntry(*project, "38000000", true).outcome, BitRateEntry::Outcome::Applied);
    project->Svc.RateGaps[3] += 5;
    const auto composed = Composed(DescribeMultiplex(*project), ComposeForce::All);
    EXPECT_TRUE(RateTableIsOfRate(*composed, 38000000));
    for (const FieldChange& change : DiffMultiplex(*project, *composed).Changes)
        EXPECT_EQ(change.Field, "bit rate");
}

json Valid() {
    return json::parse(R"({
      "network_name": "NET", "transport_stream_id": 7, "bit_rate": 27000000, "mode": "byte",
      "services": [
        {"name": "NEWS", "input": 1, "service_id": 1, "pmt_pid": 256,
         "pcr": {"in": 257, "out": 257}, "video": {"in": 257, "out": 257, "type": "h264"},
         "audio": [{"in": 258, "out": 258, "type": "aac"}]},
        {"name": "SPORT", "input": 2, "service_id": 2, "pmt_pid": 512,
         "pcr": {"in": 513, "out": 513},
         "audio": [null, {"in": 514, "out": 514, "type": 4}],
         "data": [{"in": 515, "out": 515, "subtitles": {"language": "por", "type": 16}}]}],
      "ghosts": [{"input": 3, "in": 18, "out": 18}]})");
}

TEST(MultiplexDescription, ValidDescriptionIsTakenAsWritten) {
    const auto store = Composed(Valid());
    const ServicePids& sport = store->Svc.SvcPids[1];
    EXPECT_EQ(store->Svc.SvcCount, 2);
    EXPECT_EQ(store->Svc.SvcPids[0].VideoType, 1);
    EXPECT_EQ(sport.Audio[0].PidOut, PidNone);
    EXPECT_EQ(sport.Audio[1].Type, 4);
    EXPECT_STREQ(sport.Data[0].SubLang, "por");
    EXPECT_STREQ(store->Svc.SvcInfo[1].Provider, "NET");
    EXPECT_EQ(store->Ghost.GhostCount, 1);
    EXPECT_TRUE(RateTableIsOfRate(*store, 27000000));
}

TEST(MultiplexDescription, RefusalsNameTheirPlace) {
    struct Case {
        const char* pointer; // JSON pointer of the member changed
        json value;          // null removes it
        std::string refusal;
        bool forcible;
    };
    const Case cases[] = {
        {"/services/1/audio/1/out", 9000, "services[1].audio[1].out: 9000 is not a PID (32..8190)", true},
        {"/services/1/audio/1/out", 70000, "services[1].audio[1].out: 70000 is not a PID (32..8190)", false},
        {"/services/0/pmt_pid", 20, "services[0].pmt_pid: 20 is not a PID (32..8190)", true},
        {"/services/0/pcr/in", "x", "services[0].pcr.in: \"x\" is not a PID (32..8190)", false},
        {"/services/0/video/type", "vp9",
         "services[0].video.type: \"vp9\" is not a stream type (\"mpeg2\", \"h264\", \"mpeg4\")", false},
        {"/services/0/name", "ELEVENCHARS", "services[0].name: \"ELEVENCHARS\" is longer than 10 characters",
         false},
        {"/services/0/name", "\u20ac",
         "services[0].name: \"\u20ac\" holds a character the device cannot carry", false},
        {"/services/0/input", 9, "services[0].input: 9 is not an input (1..8)", true},
        {"/services/0/input", 40000, "services[0].input: 40000 is out of range -32768..32767", false},
        {"/services/0/input", 0, "services[0].input: 0 is not an input (1..8)", true},
        {"/services/1/service_id", nullptr, "services[1].service_id: is missing", false},
        {"/services/1/colour", "red", "services[1].colour: is not a member of the description", false},
        {"/ghosts/0/input", "3", "ghosts[0].input: \"3\" is not a whole number", false},
        {"/mode", "fast", "mode: \"fast\" is not \"byte\" or \"pack\"", false},
        {"/bit_rate", 100000, "bit_rate: 100000: Bit rate must be between 503571 and 216000000 (Bps).", true},
        {"/services/1/audio/1/out", 258, "error pid-conflict", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        json description = Valid();
        const json::json_pointer at(c.pointer);
        if (c.value.is_null())
            description[at.parent_pointer()].erase(at.back());
        else
            description[at] = c.value;
        auto store = test::ZeroStore();
        const ComposeResult result = ComposeMultiplex(description, *store, ComposeForce::None);
        ASSERT_FALSE(result.Taken);
        ASSERT_FALSE(result.Refusals.empty());
        EXPECT_EQ(result.Refusals.front().Text().substr(0, c.refusal.size()), c.refusal);
        EXPECT_EQ(result.Refusals.front().Forcible, c.forcible);
        EXPECT_EQ(store->Svc.SvcCount, 0) << "a refused description leaves the store";
        EXPECT_EQ(ComposeMultiplex(description, *store, ComposeForce::All).Taken, c.forcible);
    }
}

TEST(MultiplexDescription, InputsBeyondFortyFourPidsAreRefusedAtTheEntryThatPassesThem) {
    json description = Valid();
    for (int k = 0; k < 42; ++k)
        description["ghosts"].push_back({{"input", 1}, {"in", 40 + k}, {"out", 2000 + k}});
    auto store = test::ZeroStore();
    const ComposeResult result = ComposeMultiplex(description, *store, ComposeForce::None);
    ASSERT_FALSE(result.Refusals.empty());
    EXPECT_EQ(result.Refusals.front().Text(),
              "ghosts[42].input: Limited 44 Pid per IN. (input 1 carries 45 PIDs)");
}

} // namespace
} // namespace kv
