// kv2208-cli simulate, send and get as the operator runs them: a copy of the
// program in a scratch program folder, so its Config folder is the test's own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_making.h"
#include "cli_test_support.h"
#include "model/app_paths.h"
#include "model/cli_run.h"
#include "model/project_file.h"
#include "ops/bit_rate_entry.h"
#include "ops/transfer_explanations.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using test::CliFolder;
using test::ProgramRun;
using test::SimulateProcess;

TEST(CliLink, SendThenGetGivesBackTheProject) {
    CliFolder folder;
    const std::string project = folder.Temp().File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    SimulateProcess device(folder, 3);
    ASSERT_TRUE(device.Listening()) << device.Output();

    const ProgramRun send = folder.Run({"send", project, "--port", "3"});
    EXPECT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(send.out, "Process successful!\n");
    const std::string imageFile = ImageFilePath(folder.Path());
    EXPECT_EQ(test::ReadBytes(ReadBackFilePath(folder.Path())), test::ReadBytes(imageFile));

    const std::string back = folder.Temp().File("back.MUX");
    const ProgramRun get = folder.Run({"get", "--port", "3", "-o", back});
    EXPECT_EQ(get.status, 0) << get.err;
    // Exactly what `decode` makes of the image that was sent ...
    const std::string decoded = folder.Temp().File("decoded.MUX");
    ASSERT_EQ(folder.Run({"decode", imageFile, "-o", decoded}).status, 0);
    EXPECT_EQ(test::ReadBytes(back), test::ReadBytes(decoded));
    // ... which carries the project's services.
    auto store = test::ZeroStore();
    ASSERT_EQ(ReadProjectFile(back, *store), ProjectFileStatus::Ok);
    const auto rich = test::RichStore();
    ASSERT_EQ(store->Svc.SvcCount, rich->Svc.SvcCount);
    EXPECT_EQ(store->Svc.TsId, rich->Svc.TsId);
    for (int i = 0; i < rich->Svc.SvcCount; ++i) {
        EXPECT_STREQ(store->Svc.SvcInfo[i].Name, rich->Svc.SvcInfo[i].Name) << i;
        EXPECT_EQ(store->Svc.SvcPids[i].VideoOut, rich->Svc.SvcPids[i].VideoOut) << i;
        EXPECT_EQ(store->Svc.SvcInput[i], rich->Svc.SvcInput[i]) << i;
    }
    EXPECT_EQ(store->Ghost.GhostCount, rich->Ghost.GhostCount);

    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
    EXPECT_NE(device.Output().find("COM3"), std::string::npos) << device.Output();
    EXPECT_FALSE(std::filesystem::is_symlink(std::filesystem::symlink_status(device.Link())));
}

TEST(CliLink, SimulatorStartedWithAnImageHandsItToGet) {
    CliFolder folder;
    const std::string project = folder.Temp().File("rich.MUX");
    const std::string image = folder.Temp().File("rich.img");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    ASSERT_EQ(folder.Run({"image", project, "-o", image}).status, 0);
    SimulateProcess device(folder, 4, {"--image", image});
    ASSERT_TRUE(device.Listening()) << device.Output();

    const std::string back = folder.Temp().File("back.MUX");
    const ProgramRun get = folder.Run({"get", "--port", "4", "-o", back});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(test::ReadBytes(ReadBackFilePath(folder.Path())), test::ReadBytes(image));
    const std::string decoded = folder.Temp().File("decoded.MUX");
    ASSERT_EQ(folder.Run({"decode", image, "-o", decoded}).status, 0);
    EXPECT_EQ(test::ReadBytes(back), test::ReadBytes(decoded));
}

TEST(CliLink, SendReportsTheTransferResult) {
    CliFolder folder;
    const std::string project = folder.Temp().File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    SimulateProcess device(folder, 5, {"--fault", "corrupt"});
    ASSERT_TRUE(device.Listening()) << device.Output();
    const ProgramRun send = folder.Run({"send", project, "--port", "5", "--pat-version", "7"});
    EXPECT_EQ(send.status, 10);
    EXPECT_EQ(send.err, "kv2208-cli: " + project + ": Error 10\n  " +
                            ExplainTransferResult(TransferResult::ContentDiffers, {}, 0) + "\n");
}

TEST(CliLink, SendAndGetRefuseWhatCannotWork) {
    CliFolder folder;
    const std::string project = folder.Temp().File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    auto crowded = test::RichStore();
    while (crowded->Svc.SvcCount < 42)
        test::AddService(*crowded, 8, static_cast<uint16_t>(1000 + crowded->Svc.SvcCount),
                         static_cast<int16_t>(0x400 + crowded->Svc.SvcCount));
    const std::string tooMany = folder.Temp().File("crowded.MUX");
    ASSERT_EQ(WriteProjectFile(tooMany, *crowded), ProjectFileStatus::Ok);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    // COM7 leads nowhere; the message names the device path and the reason.
    std::filesystem::create_symlink(folder.Path() + "nothing-here", folder.File("COM7"));
    const std::string missing = folder.Temp().File("missing.MUX");
    const std::string noCom7 = "kv2208-cli: COM7 não disponivel (COM7 leads to " + folder.Path() +
                               "nothing-here, which no longer exists (a simulator that has stopped?))\n";
    const std::string noDevice = folder.Path() + "nothing-here";
    const Case cases[] = {
        {{"send", missing, "--port", "7"},
         66,
         "kv2208-cli: " + missing + ": Cannot open input file. (No such file or directory)\n"},
        {{"send", tooMany, "--port", "7"}, 65, "kv2208-cli: " + tooMany + ": Limited 41 programs per Mux.\n"},
        {{"send", project, "--port", "7", "--rate", "400000"},
         65,
         "kv2208-cli: " + project +
             ": Bit rate must be between 503571 and 216000000 (Bps). (--rate 400000)\n"},
        {{"send", project, "--port", "7"}, 74, noCom7},
        {{"get", "--port", "7", "-o", folder.Temp().File("x.MUX")}, 74, noCom7},
        {{"send", project, "--device", noDevice},
         74,
         "kv2208-cli: " + noDevice + " não disponivel (" + noDevice + ": No such file or directory)\n"},
        {{"send", project}, 64, ""},
        {{"get", "--port", "7"}, 64, ""},
        {{"get", "--port", "0", "-o", folder.Temp().File("x.MUX")}, 64, ""},
        {{"send", project, "--port", "-1"}, 64, ""},
        {{"send", project, "--port", "7", "--device", noDevice}, 64, ""},
    };
    for (const Case& c : cases) {
        const ProgramRun run = folder.Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args[1];
        if (!c.err.empty()) {
            EXPECT_EQ(run.err, c.err) << c.args[0] << " " << c.args[1];
        }
    }
    EXPECT_FALSE(std::filesystem::exists(ImageFilePath(folder.Path())));
}

TEST(CliLink, ASecondSimulatorLeavesATakenPortAloneAndPortsShowsTheLink) {
    CliFolder folder;
    SimulateProcess device(folder, 2);
    ASSERT_TRUE(device.Listening()) << device.Output();
    const std::string target = std::filesystem::read_symlink(device.Link()).string();

    const ProgramRun second =
        test::RunProgram(folder.Temp(), folder.Cli(), {"simulate", "--port", "2"}, "timeout 5 ");
    EXPECT_EQ(second.status, 74);
    EXPECT_NE(second.err.find("COM2 is taken by another running simulator"), std::string::npos) << second.err;
    EXPECT_EQ(std::filesystem::read_symlink(device.Link()).string(), target);

    const ProgramRun ports = folder.Run({"ports", "--json"});
    ASSERT_EQ(ports.status, 0) << ports.err;
    const auto json = nlohmann::json::parse(ports.out);
    ASSERT_EQ(json["ports"].size(), 9u);
    EXPECT_EQ(json["ports"][1]["port"], "COM2");
    EXPECT_EQ(json["ports"][1]["device"], target);
    EXPECT_EQ(json["ports"][1]["exists"], true);
    EXPECT_EQ(json["ports"][2]["device"], "/dev/ttyS2");
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

// check, the --force gate of send and image, diff, and verify before and
// after another project reached the device.
TEST(CliLink, CheckDiffAndVerifyFollowWhatTheDeviceHolds) {
    CliFolder folder;
    const std::string rich = folder.Temp().File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(rich, *test::RichStore()), ProjectFileStatus::Ok);
    auto clash = test::RichStore();
    clash->Svc.SvcPids[1].VideoOut = 0x300; // Bravo TV's video on Alpha's video PID
    const std::string clashing = folder.Temp().File("clash.MUX");
    ASSERT_EQ(WriteProjectFile(clashing, *clash), ProjectFileStatus::Ok);
    auto changed = test::RichStore();
    changed->Svc.TsId = 7;
    changed->Svc.SvcPids[1].Audio[3].PidOut = 0x3FF;
    const std::string other = folder.Temp().File("other.MUX");
    ASSERT_EQ(WriteProjectFile(other, *changed), ProjectFileStatus::Ok);

    EXPECT_EQ(folder.Run({"check", rich}).status, 0);
    const ProgramRun check = folder.Run({"check", clashing});
    EXPECT_EQ(check.status, 65);
    EXPECT_TRUE(
        check.out.starts_with("error pid-conflict: Output PID 768 (0x0300) is carried from 2 sources: "))
        << check.out;
    const auto json = nlohmann::json::parse(folder.Run({"check", clashing, "--json"}).out);
    EXPECT_EQ(json["findings"][0]["pids"], nlohmann::json::array({768}));
    EXPECT_EQ(json["services"], clash->Svc.SvcCount);
    EXPECT_EQ(json["outputs"][0]["carries"], "PAT");

    const std::string image = folder.Temp().File("clash.img");
    EXPECT_EQ(folder.Run({"image", clashing, "-o", image}).status, 65);
    EXPECT_FALSE(std::filesystem::exists(image));
    EXPECT_EQ(folder.Run({"image", clashing, "-o", image, "--force"}).status, 0);
    EXPECT_EQ(folder.Run({"check", image}).status, 65); // an image is checked as "Get" decodes it

    SimulateProcess device(folder, 6);
    ASSERT_TRUE(device.Listening()) << device.Output();
    const ProgramRun refused = folder.Run({"send", clashing, "--port", "6"});
    EXPECT_EQ(refused.status, 65);
    EXPECT_NE(refused.err.find(clashing + ": error pid-conflict: Output PID 768"), std::string::npos)
        << refused.err;

    ASSERT_EQ(folder.Run({"send", rich, "--port", "6"}).status, 0);
    const ProgramRun matches = folder.Run({"verify", rich, "--port", "6"});
    EXPECT_EQ(matches.status, 0) << matches.out << matches.err;
    EXPECT_EQ(matches.out, "Device matches " + rich + ".\n");

    ASSERT_EQ(folder.Run({"send", other, "--port", "6"}).status, 0);
    const std::string drift = "transport stream ID: 4660 -> 7\nBravo TV: audio 4 out: 789 -> 1023\n";
    const ProgramRun drifted = folder.Run({"verify", rich, "--port", "6"});
    EXPECT_EQ(drifted.status, 1);
    EXPECT_EQ(drifted.out, drift);
    const ProgramRun diff = folder.Run({"diff", rich, ReadBackFilePath(folder.Path())});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, drift);
    EXPECT_EQ(folder.Run({"diff", other, ReadBackFilePath(folder.Path())}).status, 0);
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

// The signalling packets of an image (its records that begin with 0x47) as
// a transport stream, and the version each table of it carries, as tshark
// reads them: "PAT 3", "NIT 3", "SDT 3", "PMT 3".
std::vector<std::string> TableVersions(const test::TempFolder& folder, const std::string& image) {
    const std::vector<uint8_t> bytes = test::ReadBytes(image);
    std::vector<uint8_t> packets;
    for (std::size_t at = 0; at + 188 <= bytes.size(); at += 188)
        if (bytes[at] == 0x47) packets.insert(packets.end(), bytes.begin() + at, bytes.begin() + at + 188);
    const std::string ts = folder.File("tables.ts");
    test::WriteBytes(ts, packets);
    const ProgramRun run =
        test::RunProgram(folder, "tshark",
                         {"-r", ts, "-T", "fields", "-E", "separator=|", "-e", "mpeg_pat.version", "-e",
                          "dvb_nit.version", "-e", "dvb_sdt.version", "-e", "mpeg_pmt.version"},
                         "HOME=" + test::ShellQuoted(folder.File("")) + " ");
    std::vector<std::string> versions;
    const char* tables[] = {"PAT", "NIT", "SDT", "PMT"};
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        int k = 0;
        for (std::string field; std::getline(fields, field, '|'); ++k)
            if (!field.empty() && k < 4)
                versions.push_back(std::string(tables[k]) + " " +
                                   std::to_string(std::stoi(field, nullptr, 0)));
    }
    return versions;
}

// image, decode and diff give back what was sent for descriptions operators
// write every day; verify matches a device holding audio in slots 3 and 4;
// check refuses an empty multiplex; two sends carry tables of two versions.
TEST(CliLink, WhatSendMuxSendsComesBackAndItsTablesFollowTheVersion) {
    CliFolder folder;
    auto radioThenTv = test::ZeroStore();
    test::AddService(*radioThenTv, 1, 1, 0x100, "RADIO").Audio[0] = {0, 0x21, 0x121, 0, 0};
    radioThenTv->Svc.SvcPids[0].PcrIn = 0x21;
    radioThenTv->Svc.SvcPids[0].PcrOut = 0x121;
    ServicePids& tv = test::AddService(*radioThenTv, 1, 2, 0x110, "TV");
    tv.PcrIn = tv.VideoIn = 0x30;
    tv.PcrOut = tv.VideoOut = 0x130;
    auto audioSlots = test::ZeroStore();
    ServicePids& slots = test::AddService(*audioSlots, 2, 7, 0x100, "SLOTS");
    slots.PcrIn = slots.VideoIn = 0x40;
    slots.PcrOut = slots.VideoOut = 0x140;
    slots.Audio[2] = {1, 0x41, 0x141, 0, 0};
    slots.Data[1] = {0, 0x43, 0x143, 0, 0, {}, 0};
    auto ghostOnly = test::ZeroStore();
    test::AddGhost(*ghostOnly, 4, 0x12, 0x12);
    struct Case {
        const char* name;
        ConfigStore& store;
    } cases[] = {{"radio.MUX", *radioThenTv}, {"slots.MUX", *audioSlots}, {"ghosts.MUX", *ghostOnly}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ApplyBitRateEntry(c.store, "27000000", true).outcome, BitRateEntry::Outcome::Applied);
        const std::string project = folder.Temp().File(c.name);
        ASSERT_EQ(WriteProjectFile(project, c.store), ProjectFileStatus::Ok);
        const std::string image = project + ".img", back = project + ".back.MUX";
        ASSERT_EQ(folder.Run({"image", project, "-o", image}).status, 0);
        ASSERT_EQ(folder.Run({"decode", image, "-o", back}).status, 0);
        const ProgramRun diff = folder.Run({"diff", project, back});
        EXPECT_EQ(diff.status, 0) << diff.out << diff.err;
    }

    const std::string empty = folder.Temp().File("empty.MUX");
    ASSERT_EQ(WriteProjectFile(empty, *test::ZeroStore()), ProjectFileStatus::Ok);
    const ProgramRun check = folder.Run({"check", empty});
    EXPECT_EQ(check.status, 65);
    EXPECT_TRUE(check.out.starts_with("error empty: The multiplex has no services")) << check.out;

    SimulateProcess device(folder, 7);
    ASSERT_TRUE(device.Listening()) << device.Output();
    const std::string slotsProject = folder.Temp().File("slots.MUX");
    ASSERT_EQ(folder.Run({"send", slotsProject, "--port", "7"}).status, 0);
    const ProgramRun verify = folder.Run({"verify", slotsProject, "--port", "7"});
    EXPECT_EQ(verify.out, "Device matches " + slotsProject + ".\n") << verify.err;
    const auto first = TableVersions(folder.Temp(), ImageFilePath(folder.Path()));
    ASSERT_EQ(folder.Run({"send", folder.Temp().File("radio.MUX"), "--port", "7"}).status, 0);
    const auto second = TableVersions(folder.Temp(), ImageFilePath(folder.Path()));
    EXPECT_EQ(first, (std::vector<std::string>{"PAT 1", "NIT 1", "SDT 1", "PMT 1"}));
    EXPECT_EQ(second, (std::vector<std::string>{"PAT 2", "NIT 2", "SDT 2", "PMT 2", "PMT 2"}));
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

// Services taken from an ffmpeg capture of input 1 pass the check, reach the
// device and come back unchanged; a mistyped input PID is then found against
// the same capture.
TEST(CliLink, ImportedCaptureGoesOnAirAndCheckFindsAMistypedInputPid) {
    CliFolder folder;
    const std::string capture = test::MakeCapture(folder.Temp(), test::ThreeServices());
    if (!std::filesystem::exists(capture))
        GTEST_SKIP() << "ffmpeg made no capture (./scripts/test installs it)";
    auto base = test::ZeroStore();
    ASSERT_EQ(ApplyBitRateEntry(*base, "38000000", true).outcome, BitRateEntry::Outcome::Applied);
    const std::string basePath = folder.Temp().File("base.MUX"), imported = folder.Temp().File("in1.MUX");
    ASSERT_EQ(WriteProjectFile(basePath, *base), ProjectFileStatus::Ok);

    const ProgramRun import =
        folder.Run({"import", capture, "--input", "1", "--into", basePath, "-o", imported});
    EXPECT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(import.out, "Added NEWS\nAdded SPORT\nAdded RADIO\n");
    const ProgramRun check = folder.Run({"check", imported, "--input", "1=" + capture});
    EXPECT_EQ(check.status, 0) << check.out << check.err;

    SimulateProcess device(folder, 7);
    ASSERT_TRUE(device.Listening()) << device.Output();
    EXPECT_EQ(folder.Run({"send", imported, "--port", "7"}).status, 0);
    const ProgramRun verify = folder.Run({"verify", imported, "--port", "7"});
    EXPECT_EQ(verify.status, 0) << verify.out << verify.err;

    auto mistyped = test::ZeroStore();
    ASSERT_EQ(ReadProjectFile(imported, *mistyped), ProjectFileStatus::Ok);
    mistyped->Svc.SvcPids[0].Audio[0].PidIn = 0x50; // NEWS audio read off the wrong line
    const std::string wrong = folder.Temp().File("wrong.MUX");
    ASSERT_EQ(WriteProjectFile(wrong, *mistyped), ProjectFileStatus::Ok);
    EXPECT_EQ(folder.Run({"check", wrong}).status, 0); // nothing shows without the capture
    const ProgramRun found = folder.Run({"check", wrong, "--input", "1=" + capture});
    EXPECT_EQ(found.status, 65);
    EXPECT_EQ(found.out, "error input-missing: IN 1 PID 80 (0x0050), audio 1 of NEWS, is not in three.ts.\n");
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

} // namespace
} // namespace kv
