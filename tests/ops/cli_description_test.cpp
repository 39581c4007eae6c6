// kv2208-cli export and compose: the examples compose and pass the check,
// every exported description keeps the schema, descriptions stand in for
// project files, and a refusal names its JSON path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/cli_run.h"
#include "tables/tables_test_support.h"

namespace kv::test {
namespace {

const std::string Schema = KV_SOURCE_DIR "/data/kv2208-description.schema.json";

// python3-jsonschema, a validator of its own, on one description.
ProgramRun Validate(const TempFolder& folder, const std::string& description) {
    return RunProgram(folder, "python3",
                      {"-c",
                       "import json, sys, jsonschema\n"
                       "jsonschema.validate(json.load(open(sys.argv[2])), json.load(open(sys.argv[1])))",
                       Schema, description});
}

std::vector<uint8_t> BytesOfStore(const ConfigStore& store) {
    const auto* p = reinterpret_cast<const uint8_t*>(&store);
    return {p, p + sizeof store};
}

TEST(CliDescription, ExamplesComposePassTheCheckAndComeBackThroughExport) {
    TempFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(KV_SOURCE_DIR "/data/examples")) {
        const std::string example = entry.path().string();
        SCOPED_TRACE(example);
        const std::string project = folder.File("example.MUX"), again = folder.File("again.json");
        EXPECT_EQ(Validate(folder, example).status, 0) << Validate(folder, example).err;
        ASSERT_EQ(RunCli(folder, {"compose", example, "-o", project}).status, 0);
        const ProgramRun check = RunCli(folder, {"check", example});
        EXPECT_EQ(check.status, 0) << check.out << check.err;
        ASSERT_EQ(RunCli(folder, {"export", project, "-o", again}).status, 0);
        EXPECT_EQ(Validate(folder, again).status, 0) << Validate(folder, again).err;
        EXPECT_EQ(RunCli(folder, {"diff", example, project}).status, 0);
        ASSERT_EQ(RunCli(folder, {"image", example, "-o", folder.File("a.img")}).status, 0);
        ASSERT_EQ(RunCli(folder, {"image", project, "-o", folder.File("b.img")}).status, 0);
        EXPECT_EQ(ReadBytes(folder.File("a.img")), ReadBytes(folder.File("b.img")));
    }
}

TEST(CliDescription, ExportOfTheTestsProjectsKeepsTheSchema) {
    TempFolder folder;
    for (auto make : {&SampleStore, &RichStore}) {
        const auto store = make();
        WriteBytes(folder.File("p.MUX"), BytesOfStore(*store));
        ASSERT_EQ(RunCli(folder, {"export", folder.File("p.MUX"), "-o", folder.File("p.json")}).status, 0);
        const ProgramRun valid = Validate(folder, folder.File("p.json"));
        EXPECT_EQ(valid.status, 0) << valid.err;
    }
}

TEST(CliDescription, ComposeRefusesWithThePathAndForceLetsTheRulesPass) {
    TempFolder folder;
    const std::string description = folder.File("d.json");
    const std::string text = R"({"bit_rate": 27000000, "services": [{"name": "A", "input": 1, "service_id": 1,
        "pmt_pid": PMT, "pcr": {"in": 100, "out": 100}, "audio": [{"in": 100, "out": 100}]}]})";
    struct Case {
        const char* pmt;
        bool force;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"20", false, 65, "services[0].pmt_pid: 20 is not a PID (32..8190)"},
        {"20", true, 0, "warning: services[0].pmt_pid: 20 is not a PID (32..8190)"},
        {"9000", true, 0, "warning: services[0].pmt_pid: 9000 is not a PID (32..8190)"},
        {"70000", true, 65, "services[0].pmt_pid: 70000 is not a PID (32..8190)"},
        {"64", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pmt);
        std::string body = text;
        body.replace(body.find("PMT"), 3, c.pmt);
        WriteBytes(description, {body.begin(), body.end()});
        std::vector<std::string> args = {"compose", description, "-o", folder.File("d.MUX")};
        if (c.force) args.push_back("--force");
        const ProgramRun run = RunCli(folder, args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace kv::test
