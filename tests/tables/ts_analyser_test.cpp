// The signalling read by independent analysers: tshark (with every section
// CRC verified) and ffprobe must find in `kv2208-cli ts` output exactly the
// services, names, PIDs, stream types and descriptors the project holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/cli_run.h"
#include "model/project_file.h"
#include "tables_test_support.h"

namespace kv {
namespace {

bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The rich description with every PMT on its own PID, written as a stream.
std::string RichTransportStream(const test::TempFolder& folder) {
    auto store = test::RichStore();
    for (int i = 0; i < store->Svc.SvcCount; ++i) store->Svc.SvcPids[i].GenPmt = 1;
    const std::string project = folder.File("rich.MUX");
    EXPECT_EQ(WriteProjectFile(project, *store), ProjectFileStatus::Ok);
    const std::string ts = folder.File("rich.ts");
    const auto run = test::RunCli(folder, {"ts", project, "-o", ts});
    EXPECT_EQ(run.status, 0) << run.err;
    return ts;
}

test::ProgramRun Tshark(const test::TempFolder& folder, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-r", folder.File("rich.ts"), "-o", "mpeg_sect.verify_crc:TRUE"};
    all.insert(all.end(), args.begin(), args.end());
    // A home of its own keeps tshark from reading or writing any profile.
    return test::RunProgram(folder, "tshark", all, "HOME=" + test::ShellQuoted(folder.File("")) + " ");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(TsAnalyser, TsharkVerifiesEveryCrcAndReadsTheStoredFields) {
    if (!Installed("tshark")) GTEST_SKIP() << "tshark is not installed (./scripts/test installs it)";
    test::TempFolder folder;
    RichTransportStream(folder);

    const auto detail = Tshark(folder, {"-V"});
    ASSERT_EQ(detail.status, 0) << detail.err;
    int correct = 0;
    for (const std::string& line : Lines(detail.out)) {
        if (line.find("CRC 32:") == std::string::npos) continue;
        EXPECT_NE(line.find("[correct]"), std::string::npos) << line;
        correct += line.find("[correct]") != std::string::npos;
    }
    EXPECT_EQ(correct, 10) << "PAT, NIT, the SDT across two packets and seven PMTs";

    const auto fields = Tshark(folder, {"-T", "fields",
                                        "-E", "separator=|",
                                        "-E", "occurrence=a",
                                        "-e", "mp2t.pid",
                                        "-e", "mpeg_pat.prog_map_pid",
                                        "-e", "mpeg_descr.net_name.name",
                                        "-e", "mpeg_descr.svc.svc_name",
                                        "-e", "mpeg_descr.svc.provider_name",
                                        "-e", "mpeg_pmt.pg_num",
                                        "-e", "mpeg_pmt.pcr_pid",
                                        "-e", "mpeg_pmt.stream.type",
                                        "-e", "mpeg_pmt.stream.elementary_pid",
                                        "-e", "mpeg_descr.tag",
                                        "-e", "mpeg_descr.subtitling.type",
                                        "-e", "mpeg_descr.lang.code"});
    ASSERT_EQ(fields.status, 0) << fields.err;
    const std::vector<std::string> expected = {
        "0x00000000|0x0010,0x0100,0x0110,0x0120,0x0130,0x0140,0x0141,0x0142||||||||||",
        "0x00000010||TEN  CHARS|||||||0x40||",
        "0x00000011|||||||||||",
        "0x00000011|||Alpha,Bravo TV,Charlie,Delta FM,Echo,Foxtrot,Golf|"
        "TEN  CHARS,Provider B,Provider C,Radio,TEN  CHARS,TEN  CHARS,TEN  "
        "CHARS|||||0x48,0x48,0x48,0x48,0x48,0x48,0x48||",
        "0x00000100|||||0x0065|0x0300|0x02,0x03,0x04,0x06|0x0300,0x0301,0x0302,0x0303|0x0b,0x10,0x52,0x0a,"
        "0x59|0x10|por",
        "0x00000110|||||0x00ca|0x0310|0x1b,0x11,0x0f,0x81,0x81,0x82,0x06|0x0311,0x0312,0x0313,0x0314,0x0315,"
        "0x0316,0x0317|"
        "0x0b,0x10,0x6a,0x6a,0x0a||eng",
        "0x00000120|||||0x012f|0x0320|0x1a|0x0320|0x0b,0x10||",
        "0x00000130|||||0x0194|0x0330|0x04|0x0331|0x0b,0x10||",
        "0x00000140|||||0x01f9|0x0340|0x02,0x04|0x0340,0x0341|0x0b,0x10||",
        "0x00000141|||||0x01fa|0x0350|0x02,0x04|0x0350,0x0351|0x0b,0x10||",
        "0x00000142|||||0x01fb|0x0360|0x02,0x04|0x0360,0x0361|0x0b,0x10||",
    };
    EXPECT_EQ(Lines(fields.out), expected);
}

TEST(TsAnalyser, FfprobeFindsProgramsNamesAndStreams) {
    if (!Installed("ffprobe")) GTEST_SKIP() << "ffprobe is not installed (./scripts/test installs it)";
    test::TempFolder folder;
    const std::string ts = RichTransportStream(folder);
    const auto run =
        test::RunProgram(folder, "ffprobe", {"-v", "error", "-show_programs", "-of", "json", ts});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);

    struct Program {
        int number, pmtPid, pcrPid;
        std::string name, provider;
        std::vector<std::string> streams;
    };
    const std::vector<Program> expected = {
        {101,
         0x100,
         0x300,
         "Alpha",
         "TEN  CHARS",
         {"0x300 0x0002", "0x301 0x0003", "0x302 0x0004", "0x303 0x0006 por"}},
        {202,
         0x110,
         0x310,
         "Bravo TV",
         "Provider B",
         {"0x311 0x001b", "0x312 0x0011", "0x313 0x000f", "0x314 0x0081", "0x315 0x0081", "0x316 0x0082 eng",
          "0x317 0x0006"}},
        {303, 0x120, 0x320, "Charlie", "Provider C", {"0x320 0x001a"}},
        {404, 0x130, 0x330, "Delta FM", "Radio", {"0x331 0x0004"}},
        {505, 0x140, 0x340, "Echo", "TEN  CHARS", {"0x340 0x0002", "0x341 0x0004"}},
        {506, 0x141, 0x350, "Foxtrot", "TEN  CHARS", {"0x350 0x0002", "0x351 0x0004"}},
        {507, 0x142, 0x360, "Golf", "TEN  CHARS", {"0x360 0x0002", "0x361 0x0004"}},
    };
    const auto& programs = json.at("programs");
    ASSERT_EQ(programs.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const auto& p = programs[k];
        const Program& e = expected[k];
        EXPECT_EQ(p.at("program_num"), e.number);
        EXPECT_EQ(p.at("pmt_pid"), e.pmtPid) << e.name;
        EXPECT_EQ(p.at("pcr_pid"), e.pcrPid) << e.name;
        EXPECT_EQ(p.at("tags").at("service_name"), e.name);
        EXPECT_EQ(p.at("tags").at("service_provider"), e.provider) << e.name;
        std::vector<std::string> streams;
        for (const auto& s : p.at("streams")) {
            std::string text = s.at("id").get<std::string>() + " " + s.at("codec_tag").get<std::string>();
            if (s.contains("tags") && s.at("tags").contains("language"))
                text += " " + s.at("tags").at("language").get<std::string>();
            streams.push_back(text);
        }
        EXPECT_EQ(streams, e.streams) << e.name;
    }
}

} // namespace
} // namespace kv
