// kv2208-cli show prints a project file as JSON; refused files and wrong
// arguments give exit statuses 65 and 64.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "cli_run.h"
#include "model/project_file.h"

namespace kv {
namespace {

using nlohmann::json;

std::set<std::string> Keys(const json& object) {
    std::set<std::string> keys;
    for (const auto& item : object.items()) keys.insert(item.key());
    return keys;
}

TEST(CliShow, PrintsEveryFieldOfAProjectFile) {
    test::TempFolder folder;
    auto store = test::SampleStore();
    // Bytes after a NUL and the fourth service's slot are not part of the description.
    store->Svc.SvcInfo[0].Name[8] = 'Z';
    store->Svc.SvcInput[3] = 4;
    store->Ghost.GhostInput[2] = 7;
    const std::string path = folder.File("sample.MUX");
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);

    const test::ProgramRun r = test::RunCli(folder, {"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);

    EXPECT_EQ(Keys(j), (std::set<std::string>{"SvcCount", "TsId", "NetName", "RateGaps", "RateStuff",
                                              "BitRate", "GhostCount", "GhostRateGaps", "GhostRateStuff",
                                              "GhostBitRate", "services", "ghosts"}));
    EXPECT_EQ(j["SvcCount"], 3);
    EXPECT_EQ(j["TsId"], 4660);
    EXPECT_EQ(j["NetName"], "NET ONE");
    EXPECT_EQ(j["RateGaps"], json({100, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
    EXPECT_EQ(j["RateStuff"], 7);
    EXPECT_EQ(j["BitRate"], 27000000);
    EXPECT_EQ(j["GhostCount"], 2);
    EXPECT_EQ(j["GhostRateGaps"], json({200, 201, 202, 203, 204, 205, 206, 207, 208, 209}));
    EXPECT_EQ(j["GhostRateStuff"], 9);
    EXPECT_EQ(j["GhostBitRate"], 26000000);

    ASSERT_EQ(j["services"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const json& s = j["services"][i];
        SCOPED_TRACE("service " + std::to_string(i));
        EXPECT_EQ(Keys(s), (std::set<std::string>{"SvcInput", "SvcPmtPid", "ServiceId", "EitPresent",
                                                  "EitSchedule", "Name", "Provider", "PmtPid",
                                                  "PidsServiceId", "PcrIn", "PcrOut", "Audio", "VideoIn",
                                                  "VideoOut", "VideoType", "Data", "PcrAdjust", "GenPmt"}));
        EXPECT_EQ(s["SvcInput"], i + 1);
        EXPECT_EQ(s["SvcPmtPid"], 256 + i);
        EXPECT_EQ(s["ServiceId"], 1000 + i);
        EXPECT_EQ(s["EitPresent"], i % 2);
        EXPECT_EQ(s["EitSchedule"], 1 - i % 2);
        EXPECT_EQ(s["Name"], "Prog " + std::to_string(i));
        EXPECT_EQ(s["Provider"], "NET ONE");
        EXPECT_EQ(s["PmtPid"], 256 + i);
        EXPECT_EQ(s["PidsServiceId"], 2000 + i);
        EXPECT_EQ(s["PcrIn"], 300 + i);
        EXPECT_EQ(s["PcrOut"], 310 + i);
        EXPECT_EQ(s["VideoIn"], 600 + i);
        EXPECT_EQ(s["VideoOut"], 700 + i);
        EXPECT_EQ(s["VideoType"], i);
        EXPECT_EQ(s["PcrAdjust"], 1);
        EXPECT_EQ(s["GenPmt"], i != 1 ? 1 : 0);
        ASSERT_EQ(s["Audio"].size(), 4u);
        for (int a = 0; a < 4; ++a)
            EXPECT_EQ(s["Audio"][a],
                      json({{"Type", a}, {"PidIn", 400 + 10 * i + a}, {"PidOut", 500 + 10 * i + a}}))
                << "audio " << a;
        ASSERT_EQ(s["Data"].size(), 2u);
        for (int d = 0; d < 2; ++d)
            EXPECT_EQ(s["Data"][d], json({{"DataType", d},
                                          {"PidIn", 800 + 10 * i + d},
                                          {"PidOut", 900 + 10 * i + d},
                                          {"SubEnable", d == 0 ? 1 : 0},
                                          {"SubLang", d == 0 ? "por" : "eng"},
                                          {"SubType", 0x10 + d}}))
                << "data " << d;
    }
    ASSERT_EQ(j["ghosts"].size(), 2u);
    for (int g = 0; g < 2; ++g)
        EXPECT_EQ(j["ghosts"][g],
                  json({{"GhostInput", 5 + g}, {"GhostPidIn", 1000 + g}, {"GhostPidOut", 2000 + g}}));
}

TEST(CliShow, NamesWithBytesOutsideUtf8StillPrint) {
    test::TempFolder folder;
    auto store = test::SampleStore();
    test::SetText(store->Svc.SvcInfo[1].Name, "Comunica\xE7\xE3o");
    test::SetText(store->Svc.NetName, "TEN CHARS!");
    const std::string path = folder.File("latin.MUX");
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);

    const test::ProgramRun r = test::RunCli(folder, {"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["services"][1]["Name"], "Comunica\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(j["NetName"], "TEN CHARS!");
}

TEST(CliShow, EmptyDescriptionHasEmptyLists) {
    test::TempFolder folder;
    auto store = std::make_unique<ConfigStore>();
    const std::string path = folder.File("empty.MUX");
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);
    const test::ProgramRun r = test::RunCli(folder, {"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["services"], json::array());
    EXPECT_EQ(j["ghosts"], json::array());
}

TEST(CliShow, RefusedFilesAndWrongArguments) {
    test::TempFolder folder;
    const std::string shortFile = folder.File("short.MUX");
    test::WriteBytes(shortFile, std::vector<uint8_t>(100, 0));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // the message on stderr, if any
    };
    const Case cases[] = {
        {{"show", shortFile},
         65,
         "kv2208-cli: " + shortFile + ": File corrupted! (100 bytes, a project file has 13880)\n"},
        {{"show", folder.File("missing.MUX")},
         66,
         "kv2208-cli: " + folder.File("missing.MUX") +
             ": Cannot open input file. (No such file or directory)\n"},
        {{"show"}, 64, ""},
        {{"show", "a.MUX", "b.MUX"}, 64, ""},
        {{}, 64, ""},
        {{"no-such-command"}, 64, ""},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.empty() ? "(no arguments)" : c.args.back();
        const test::ProgramRun r = test::RunCli(folder, c.args);
        EXPECT_EQ(r.status, c.status) << what;
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err) << what;
        }
        EXPECT_EQ(r.out, "") << what;
    }
}

} // namespace
} // namespace kv
