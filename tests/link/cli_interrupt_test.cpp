// kv2208-cli interrupted, killed or left by its device: the port is free at
// once, the kept images are whole, and every failure is said once with what
// it means.
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_test_support.h"
#include "model/project_file.h"
#include "ops/transfer_explanations.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A simulated device linked as a port of the folder, in this process, so
// the test sees what it stored.
struct InProcessDevice {
    InProcessDevice(const test::CliFolder& folder, int port, SimulatorFault fault = SimulatorFault::None)
        : Device(SimulatorOptions{.Fault = fault}) {
        std::string error;
        EXPECT_TRUE(Device.Start(&error)) << error;
        EXPECT_TRUE(Device.LinkAsPort(folder.Path(), port, &error)) << error;
        Watch = ::open(Device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~InProcessDevice() { ::close(Watch); }

    bool Exclusive() const {
        int exclusive = -1;
        return ioctl(Watch, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
    }
    // A client holds the port once it has set exclusive mode.
    bool WaitUntilHeld() const {
        for (auto end = Clock::now() + 10s; Clock::now() < end; std::this_thread::sleep_for(2ms))
            if (Exclusive()) return true;
        return false;
    }
    // Free for anyone: no exclusive mode, no lock.
    bool Free() const {
        const int fd = ::open(Device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool free = fd >= 0 && !Exclusive() && flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) ::close(fd);
        return free;
    }

    DeviceSimulator Device;
    int Watch = -1;
};

struct Scene {
    test::CliFolder Folder;
    std::string Project = Folder.Temp().File("rich.MUX");
    std::vector<uint8_t> KeptReadBack = test::SyntheticImage(5);
    Scene() {
        EXPECT_EQ(WriteProjectFile(Project, *test::RichStore()), ProjectFileStatus::Ok);
        test::WriteBytes(ReadBackFilePath(Folder.Path()), KeptReadBack);
    }
    std::vector<std::string> Args(std::vector<std::string> args) const {
        args.insert(args.begin(), Folder.Cli());
        return args;
    }
};

TEST(CliInterrupt, AnInterruptedTransferSaysWhatItLeftExitsWithTheSignalAndFreesThePort) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        SimulatorFault fault;
        int signal;
        bool afterLoad; // the signal comes once the device holds the image, else 300 ms into the load wait
        std::string message;
    };
    const Case cases[] = {
        {"get",
         {"get", "--port", "8", "-o", "back.MUX"},
         SimulatorFault::Silent,
         SIGINT,
         false,
         "interrupted while reading back: nothing was changed; the device keeps its configuration"},
        {"get, terminated",
         {"get", "--port", "8", "-o", "back.MUX"},
         SimulatorFault::Silent,
         SIGTERM,
         false,
         "interrupted while reading back"},
        {"verify, hung up",
         {"verify", "PROJECT", "--port", "8"},
         SimulatorFault::Silent,
         SIGHUP,
         false,
         "interrupted while reading back"},
        {"send while loading",
         {"send", "PROJECT", "--port", "8"},
         SimulatorFault::None,
         SIGINT,
         false,
         "interrupted while loading: the device may hold an incomplete configuration; send again"},
        {"send while verifying",
         {"send", "PROJECT", "--port", "8"},
         SimulatorFault::Silent,
         SIGINT,
         true,
         "interrupted while verifying: the configuration was loaded but not checked"},
    };
    for (const Case& c : cases) {
        Scene scene;
        InProcessDevice dev(scene.Folder, 8, c.fault);
        std::vector<std::string> args = c.args;
        for (std::string& a : args) a = a == "PROJECT" ? scene.Project : a;
        const std::string imageBefore = "none";
        test::Background run(scene.Folder.Temp(), scene.Args(args), "run");
        ASSERT_TRUE(dev.WaitUntilHeld()) << c.what;
        if (c.afterLoad) {
            for (auto end = Clock::now() + 10s; dev.Device.LoadsCompleted() == 0 && Clock::now() < end;)
                std::this_thread::sleep_for(5ms);
            ASSERT_EQ(dev.Device.LoadsCompleted(), 1) << c.what;
        } else {
            std::this_thread::sleep_for(300ms);
        }
        run.Signal(c.signal);
        EXPECT_EQ(run.Wait(), 128 + c.signal) << c.what << ": " << run.Err();
        EXPECT_NE(run.Err().find(c.message), std::string::npos) << c.what << ": " << run.Err();
        EXPECT_TRUE(dev.Free()) << c.what << ": the port is free at once";
        EXPECT_EQ(test::ReadBytes(ReadBackFilePath(scene.Folder.Path())), scene.KeptReadBack)
            << c.what << ": the kept read-back is whole";
        if (c.args[0] == "send") {
            const std::vector<uint8_t> image = test::ReadBytes(ImageFilePath(scene.Folder.Path()));
            EXPECT_EQ(image.size() % LineRecordSize, 0u) << c.what << ": the image file is whole";
            EXPECT_GT(image.size(), 0u) << c.what;
        }
    }
}

// A client killed outright clears nothing; the simulator does, so the next
// user, not root, gets the port.
TEST(CliInterrupt, AClientKilledMidTransferLeavesThePortToAUserOtherThanRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
    Scene scene;
    InProcessDevice dev(scene.Folder, 9);
    // A whole configuration, then filler records: half a second of playback.
    std::vector<uint8_t> image = BuildConfigImage(*test::RichStore(), 1);
    const std::vector<uint8_t> filler = test::SyntheticImage(400, false);
    image.insert(image.end(), filler.begin(), filler.end());
    dev.Device.PreloadImage(image);
    {
        test::Background run(scene.Folder.Temp(), scene.Args({"get", "--port", "9", "-o", "back.MUX"}),
                             "killed");
        ASSERT_TRUE(dev.WaitUntilHeld());
        std::this_thread::sleep_for(100ms);
        run.Signal(SIGKILL);
        EXPECT_EQ(run.Wait(), -1);
    }
    EXPECT_EQ(test::ReadBytes(ReadBackFilePath(scene.Folder.Path())), scene.KeptReadBack);
    // The other user reaches the folder, the Config folder and the terminal.
    for (const std::string& path : {scene.Folder.Temp().File(""), scene.Folder.Path(), scene.Folder.File(""),
                                    ReadBackFilePath(scene.Folder.Path()), dev.Device.SlavePath()})
        ASSERT_EQ(chmod(path.c_str(), 0777), 0) << path;
    const test::ProgramRun next =
        test::RunProgram(scene.Folder.Temp(), "setpriv",
                         {"--reuid=65534", "--regid=65534", "--clear-groups", scene.Folder.Cli(), "get",
                          "--port", "9", "-q", "-o", scene.Folder.Temp().File("next.MUX")});
    EXPECT_EQ(next.status, 0) << next.err;
}

// One failure, one message, and the line after it says what it means.
TEST(CliInterrupt, TransferFailuresAreExplainedOnTheFollowingLine) {
    struct Case {
        std::string command;
        SimulatorFault fault;
        std::string first;   // after the program's name
        std::string meaning; // a part of the explanation
    };
    const Case cases[] = {
        {"send", SimulatorFault::Silent, "Error 3",
         "no configuration header within 15 s: the device sent nothing at all"},
        {"send", SimulatorFault::Corrupt, "Error 10",
         "the device played back something other than what was loaded"},
        {"send", SimulatorFault::Hangup, "Error 11", "the line failed during the transfer"},
        {"get", SimulatorFault::Hangup, "Mux memory is empty!", "the line failed during the transfer"},
    };
    for (const Case& c : cases) {
        Scene scene;
        InProcessDevice dev(scene.Folder, 10, c.fault);
        dev.Device.PreloadImage(test::SyntheticImage(30));
        const test::ProgramRun run =
            c.command == "send"
                ? scene.Folder.Run({"send", scene.Project, "--port", "10"})
                : scene.Folder.Run({"get", "--port", "10", "-o", scene.Folder.Temp().File("b.MUX")});
        const std::string where = c.command + " " + c.first + ": " + run.err;
        const std::size_t newline = run.err.find('\n');
        ASSERT_NE(newline, std::string::npos) << where;
        EXPECT_TRUE(run.err.substr(0, newline).ends_with(c.first)) << where;
        const std::string second = run.err.substr(newline + 1);
        EXPECT_TRUE(second.starts_with("  " + c.meaning)) << where;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2)
            << where << ": two lines, no other message";
        if (c.fault != SimulatorFault::Hangup) { // a device that hung up has no line left
            EXPECT_TRUE(dev.Free()) << where;
        }
    }
}

// A binding is the operator's: simulate takes a port only when nothing is
// there or a stopped simulator's link is.
TEST(CliInterrupt, SimulateRefusesTheOperatorsLinkAndTakesOverAStoppedSimulators) {
    test::CliFolder folder;
    std::filesystem::create_symlink("/dev/ttyS0", folder.File("COM11"));
    const test::ProgramRun refused =
        test::RunProgram(folder.Temp(), folder.Cli(), {"simulate", "--port", "11"}, "timeout 5 ");
    EXPECT_EQ(refused.status, 74);
    EXPECT_NE(refused.err.find(
                  "COM11 is bound to /dev/ttyS0; choose another port or unbind it in Serial devices..."),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(std::filesystem::read_symlink(folder.File("COM11")), "/dev/ttyS0");

    // A simulator killed outright leaves its link, and its terminal goes.
    {
        test::SimulateProcess killed(folder, 12);
        ASSERT_TRUE(killed.Listening()) << killed.Output();
    }
    ASSERT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(folder.File("COM12"))));
    test::SimulateProcess next(folder, 12);
    for (auto end = Clock::now() + 5s; Clock::now() < end && next.Output().empty();)
        std::this_thread::sleep_for(10ms);
    EXPECT_NE(next.Output().find("Multiplexer listening as COM12"), std::string::npos) << next.Output();
    EXPECT_EQ(next.Stop(), 128 + SIGTERM);

    // A link to a terminal that is gone is named as such.
    std::filesystem::create_symlink("/dev/pts/4095", folder.File("COM13"));
    const test::ProgramRun ports = folder.Run({"ports"});
    EXPECT_NE(ports.out.find(
                  "COM13 leads to /dev/pts/4095, which no longer exists (a simulator that has stopped?)"),
              std::string::npos)
        << ports.out;
}

} // namespace
} // namespace kv
