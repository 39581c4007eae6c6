// kv2208-cli.exe, the Windows build, under Wine against the Linux simulator:
// the simulator's pseudo-terminal becomes one of Wine's COM ports (a link in
// Wine's dosdevices folder). Runs when scripts/windows has built the program
// and KV_WINDOWS_CLI names it (WINEPREFIX the Wine folder, as scripts/test
// sets both); skipped otherwise.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "model/app_paths.h"
#include "model/project_file.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::CliFolder;
using test::ProgramRun;
using test::SimulateProcess;

// A copy of kv2208-cli.exe in the test's program folder, run with Wine; its
// COM port n is mapped to a device for as long as the object lives.
class WineCli {
  public:
    static std::optional<WineCli> FromEnvironment(const CliFolder& folder) {
        const char* exe = std::getenv("KV_WINDOWS_CLI");
        const char* prefix = std::getenv("WINEPREFIX");
        if (!exe || !prefix || !fs::exists(exe)) return std::nullopt;
        return WineCli(folder, exe, prefix);
    }
    ~WineCli() {
        std::error_code ec;
        for (const std::string& link : mapped_) fs::remove(link, ec);
    }
    WineCli(WineCli&&) = default;

    ProgramRun Run(const std::vector<std::string>& args) const {
        std::vector<std::string> all = {exe_};
        all.insert(all.end(), args.begin(), args.end());
        return test::RunProgram(folder_->Temp(), "wine", all, "WINEDEBUG=-all ");
    }
    void MapPort(int port, const std::string& device) {
        const std::string link = prefix_ + "/dosdevices/com" + std::to_string(port);
        std::error_code ec;
        fs::remove(link, ec);
        fs::create_symlink(device, link);
        mapped_.push_back(link);
    }

  private:
    WineCli(const CliFolder& folder, const std::string& exe, std::string prefix)
        : folder_(&folder), exe_(folder.Path() + "kv2208-cli.exe"), prefix_(std::move(prefix)) {
        fs::copy_file(exe, exe_);
    }
    const CliFolder* folder_;
    std::string exe_;
    std::string prefix_;
    std::vector<std::string> mapped_;
};

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

#define WINE_CLI_OR_SKIP(name, folder)                                                                       \
    auto name = WineCli::FromEnvironment(folder);                                                            \
    if (!name) GTEST_SKIP() << "no Windows build (scripts/windows; KV_WINDOWS_CLI and WINEPREFIX unset)"

TEST(WindowsCli, SendGetAndVerifyUnderWineAgainstTheSimulator) {
    CliFolder folder;
    WINE_CLI_OR_SKIP(wine, folder);
    const std::string project = folder.Temp().File("forty-one.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::FortyOneServices()), ProjectFileStatus::Ok);
    SimulateProcess device(folder, 8);
    ASSERT_TRUE(device.Listening()) << device.Output();
    wine->MapPort(8, fs::read_symlink(device.Link()).string());

    const auto started = std::chrono::steady_clock::now();
    const ProgramRun send = wine->Run({"send", project, "--port", "8"});
    const double windowsSend = Seconds(std::chrono::steady_clock::now() - started);
    EXPECT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(send.out, "Process successful!\n");
    // Both programs share the Config folder here: the image the Windows
    // build sent and read back is the one the Linux build makes.
    const std::vector<uint8_t> sent = test::ReadBytes(ImageFilePath(folder.Path()));
    ASSERT_EQ(folder.Run({"image", project, "-o", folder.Temp().File("linux.img")}).status, 0);
    EXPECT_EQ(sent, test::ReadBytes(folder.Temp().File("linux.img")));
    EXPECT_EQ(test::ReadBytes(ReadBackFilePath(folder.Path())), sent);

    const std::string back = folder.Temp().File("back.MUX");
    const ProgramRun get = wine->Run({"get", "--port", "8", "-o", back});
    EXPECT_EQ(get.status, 0) << get.err;
    ASSERT_EQ(
        folder.Run({"decode", folder.Temp().File("linux.img"), "-o", folder.Temp().File("linux.MUX")}).status,
        0);
    EXPECT_EQ(test::ReadBytes(back), test::ReadBytes(folder.Temp().File("linux.MUX")));
    const ProgramRun verify = wine->Run({"verify", project, "--port", "8"});
    EXPECT_EQ(verify.status, 0) << verify.out << verify.err;

    // The same send from the Linux build, for the figures.
    const auto linuxStarted = std::chrono::steady_clock::now();
    EXPECT_EQ(folder.Run({"send", project, "--port", "8"}).status, 0);
    const double linuxSend = Seconds(std::chrono::steady_clock::now() - linuxStarted);
    std::printf("send of 41 services to the simulator: Windows build under Wine %.2f s, Linux build %.2f s\n",
                windowsSend, linuxSend);
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

TEST(WindowsCli, ASilentDeviceGivesThreeAndThePortsAreListedUnderWine) {
    CliFolder folder;
    WINE_CLI_OR_SKIP(wine, folder);
    const std::string project = folder.Temp().File("rich.MUX");
    ASSERT_EQ(WriteProjectFile(project, *test::RichStore()), ProjectFileStatus::Ok);
    SimulateProcess device(folder, 9, {"--fault", "silent"});
    ASSERT_TRUE(device.Listening()) << device.Output();
    wine->MapPort(9, fs::read_symlink(device.Link()).string());

    const ProgramRun ports = wine->Run({"ports", "--json"});
    ASSERT_EQ(ports.status, 0) << ports.err;
    const auto listed = nlohmann::json::parse(ports.out);
    EXPECT_EQ(listed["ports"][8]["device"], "\\\\.\\COM9");
    // The ports the system lists (Wine lists those it mapped at start, such
    // as COM1 for /dev/ttyS0) are the ones shown as present.
    for (const auto& device : listed["devices"]) {
        const std::string text = device.get<std::string>();
        const int n = std::atoi(text.c_str() + 3);
        ASSERT_EQ(text.rfind("COM", 0), 0u) << text;
        if (n >= 1 && n <= 9) {
            EXPECT_EQ(listed["ports"][n - 1]["exists"], true) << text;
        }
    }
    const ProgramRun send = wine->Run({"send", project, "--port", "9"});
    EXPECT_EQ(send.status, 3) << send.out << send.err;
    // The port given as a device, in both spellings; a port that is not there.
    EXPECT_EQ(wine->Run({"verify", project, "--device", "COM9"}).status, 3);
    const ProgramRun missing = wine->Run({"send", project, "--device", "\\\\.\\COM77"});
    EXPECT_EQ(missing.status, 74);
    EXPECT_EQ(missing.err.rfind("kv2208-cli: COM77 n\xc3\xa3o disponivel", 0), 0u) << missing.err;

    const ProgramRun simulate = wine->Run({"simulate", "--port", "2"});
    EXPECT_EQ(simulate.status, 69);
    EXPECT_NE(simulate.err.find("not available on Windows"), std::string::npos) << simulate.err;
    EXPECT_EQ(device.Stop(), 128 + SIGTERM);
}

} // namespace
} // namespace kv
