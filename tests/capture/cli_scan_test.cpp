// kv2208-cli scan of captures made by ffmpeg and by the tool's own `ts`,
// checked against what made them; damaged and foreign files refused.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
#include <string>

#include "capture/capture_making.h"
#include "model/project_file.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using nlohmann::json;
using test::RunCli;

class CliScan : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TempFolder>();
        if (std::system("command -v ffmpeg >/dev/null") != 0) return;
        for (const test::MadeCapture& made : Made()) test::MakeCapture(*folder_, made);
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static std::vector<test::MadeCapture> Made() {
        return {test::ThreeServices(),
                // AC-3 as private data with its descriptor
                test::ThreeServices("system_b.ts", {"-mpegts_flags", "system_b"}, 0x06)};
    }
    static json Scan(const std::vector<std::string>& args, int status = 0) {
        const test::ProgramRun run = RunCli(*folder_, args);
        EXPECT_EQ(run.status, status) << run.err;
        return json::parse(run.out, nullptr, false);
    }
    static std::unique_ptr<test::TempFolder> folder_;
};
std::unique_ptr<test::TempFolder> CliScan::folder_;

TEST_F(CliScan, FindsTheProgramsFfmpegWasToldToMake) {
    for (const test::MadeCapture& made : Made()) {
        const std::string path = folder_->File(made.File);
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << "ffmpeg made no capture (./scripts/test installs it)";
        const json scan = Scan({"scan", path, "--json"});
        EXPECT_EQ(scan["packet_size"], 188) << made.File;
        EXPECT_FALSE(scan["whole_file"]) << made.File;
        ASSERT_EQ(scan["services"].size(), made.Programs.size()) << made.File;
        for (std::size_t k = 0; k < made.Programs.size(); ++k) {
            const test::MadeProgram& program = made.Programs[k];
            const json& s = scan["services"][k];
            EXPECT_EQ(s["service_id"], program.ServiceId);
            EXPECT_EQ(s["name"], program.Name);
            EXPECT_EQ(s["pmt_pid"], program.PmtPid);
            EXPECT_EQ(s["pcr_pid"], program.PcrPid) << program.Name;
            ASSERT_EQ(s["streams"].size(), program.Streams.size()) << program.Name;
            for (std::size_t e = 0; e < program.Streams.size(); ++e) {
                const json& stream = s["streams"][e];
                EXPECT_EQ(stream["pid"], program.Streams[e].Pid) << program.Name;
                EXPECT_EQ(stream["stream_type"], program.Streams[e].StreamType) << program.Name << " " << e;
                EXPECT_EQ(stream["language"], program.Streams[e].Language) << program.Name << " " << e;
                if (std::string(program.Streams[e].Codec) == "ac3") {
                    EXPECT_EQ(stream["kind"], "audio");
                }
            }
        }
    }
    // The whole capture: every stream's PID counted and timed by the PCRs.
    const std::string three = folder_->File("three.ts");
    const json pids = Scan({"scan", three, "--json", "--pids"});
    EXPECT_TRUE(pids["whole_file"]);
    EXPECT_NEAR(pids["duration"].get<double>(), 1.0, 0.5);
    double sum = 0;
    for (const json& p : pids["pids"]) sum += p["bit_rate"].get<double>();
    EXPECT_NEAR(sum, pids["bit_rate"].get<double>(), 1.0);
    for (int pid : {256, 257, 512, 513, 514, 768})
        EXPECT_TRUE(std::any_of(pids["pids"].begin(), pids["pids"].end(), [pid](const json& p) {
            return p["pid"] == pid && p["packets"] > 0;
        })) << pid;
}

TEST_F(CliScan, ReadsTheSignallingOfTheToolsOwnTs) {
    const std::string project = folder_->File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    const std::string ts = folder_->File("rich.ts");
    ASSERT_EQ(RunCli(*folder_, {"ts", project, "-o", ts}).status, 0);
    const json scan = Scan({"scan", ts, "--json"});
    const auto rich = test::RichStore();
    ASSERT_EQ(scan["services"].size(), static_cast<std::size_t>(rich->Svc.SvcCount));
    EXPECT_EQ(scan["ts_id"], rich->Svc.TsId);
    const json& alpha = scan["services"][0];
    EXPECT_EQ(alpha["name"], "Alpha");
    EXPECT_EQ(alpha["pcr_pid"], 0x300);
    const json& subtitles = alpha["streams"][3]; // video, two audio, then the data stream
    EXPECT_EQ(subtitles["pid"], 0x303);
    EXPECT_EQ(subtitles["kind"], "subtitles");
    EXPECT_EQ(subtitles["subtitle_language"], "por");
    EXPECT_EQ(subtitles["subtitling_type"], 0x10);
    EXPECT_FALSE(scan["services"][2]["pmt_found"]); // Charlie's PMT is not generated
}

TEST_F(CliScan, RefusesDamagedAndForeignFilesAndListsPidsWithoutAPat) {
    const std::string three = folder_->File("three.ts");
    if (!std::filesystem::exists(three)) GTEST_SKIP() << "ffmpeg made no capture";
    const auto bytes = test::ReadBytes(three);
    const std::string text = folder_->File("notes.txt"), cut = folder_->File("cut.ts"),
                      noPat = folder_->File("nopat.ts");
    test::WriteBytes(text, std::vector<uint8_t>(5000, 'x'));
    test::WriteBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.end() - 100));
    std::vector<uint8_t> without;
    for (std::size_t at = 0; at + 188 <= bytes.size(); at += 188)
        if (((bytes[at + 1] & 0x1F) << 8 | bytes[at + 2]) != 0)
            without.insert(without.end(), bytes.begin() + at, bytes.begin() + at + 188);
    test::WriteBytes(noPat, without);

    const test::ProgramRun foreign = RunCli(*folder_, {"scan", text});
    EXPECT_EQ(foreign.status, 65);
    EXPECT_NE(foreign.err.find("Not a transport stream"), std::string::npos) << foreign.err;
    const test::ProgramRun truncated = RunCli(*folder_, {"scan", cut, "--pids"});
    EXPECT_EQ(truncated.status, 65);
    EXPECT_NE(truncated.err.find("The capture is truncated: its last packet has 88 of 188 bytes."),
              std::string::npos)
        << truncated.err;
    const json listed = Scan({"scan", noPat, "--json"});
    EXPECT_TRUE(listed["services"].empty());
    EXPECT_GT(listed["pids"].size(), 5u);
    EXPECT_EQ(RunCli(*folder_, {"scan", folder_->File("absent.ts")}).status, 66);
}

} // namespace
} // namespace kv
