// The serial channel over a pseudo-terminal: opening, exclusive use, the
// line settings, the receive thread, and a lost link.
#include "link/serial_channel.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "link/line_settings.h"
#include "link_test_support.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using test::LinkedDevice;
using test::ScratchFolder;

// Waits (bounded) until `done` holds; the link reacts on its own thread.
template <class Condition> bool Eventually(Condition done, std::chrono::milliseconds limit = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

std::vector<LineRecord> TakeRecords(SerialChannel& channel, std::size_t count) {
    std::vector<LineRecord> records;
    LineRecord r{};
    Eventually([&] {
        while (records.size() < count && channel.TakeRecord(r.data())) records.push_back(r);
        return records.size() >= count;
    });
    return records;
}

TEST(SerialChannel, PortThatCannotBeOpenedIsReportedAsNotAvailable) {
    ScratchFolder folder;
    std::filesystem::create_symlink(folder.Path() + "nothing-here", folder.File("COM23"));
    test::WriteBytes(folder.File("COM24"), {1, 2, 3}); // a plain file: no line settings to read
    struct Case {
        int port;
        const char* message;
    };
    const Case cases[] = {
        {0, "COM0 não disponivel"},     // no port chosen
        {23, "COM23 não disponivel"},   // link to nothing
        {24, "COM24 não disponivel"},   // not a terminal
        {200, "COM200 não disponivel"}, // no such device at all
    };
    for (const Case& c : cases) {
        std::vector<std::string> messages;
        SerialChannel channel(
            folder.Path(), [&](const ChannelError& e) { messages.push_back(msg::ChannelErrorText(e)); },
            test::QuickChannel);
        EXPECT_FALSE(channel.Open(c.port));
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(channel.Connected());
        EXPECT_EQ(channel.ReceiveThreadCount(), 0);
        // Closed after the failure: sending does not try the port again.
        channel.SendRecord(IdleCommand().data());
        EXPECT_EQ(messages.size(), 1u) << c.message;
    }
}

TEST(SerialChannel, PortHeldByAnotherChannelIsNotAvailableUntilReleased) {
    LinkedDevice dev(5);
    dev.StartAndOpen();
    std::vector<std::string> messages;
    SerialChannel second(
        dev.Folder.Path(), [&](const ChannelError& e) { messages.push_back(msg::ChannelErrorText(e)); },
        test::QuickChannel);
    EXPECT_FALSE(second.Open(5));
    EXPECT_EQ(messages, std::vector<std::string>{"COM5 não disponivel"});
    EXPECT_TRUE(dev.Channel.Connected());

    dev.Channel.Close();
    EXPECT_TRUE(second.Open(5));
    EXPECT_TRUE(second.Connected());
}

TEST(SerialChannel, OpenLeavesThePortAtTheMultiplexerLineSettings) {
    LinkedDevice dev(6);
    dev.StartAndOpen();
    // Root passes the exclusive-use flag, so the test can look at the terminal.
    const int fd = ::open(dev.Device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) GTEST_SKIP() << "the terminal is held exclusively (not running as root)";
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B1500000));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_TRUE(LineSettingsHeld(t));
}

TEST(SerialChannel, ReceiveThreadQueuesTheDeviceRecordsInOrder) {
    LinkedDevice dev(7);
    const std::vector<uint8_t> image = test::SyntheticImage(5);
    dev.Device.PreloadImage(image);
    dev.StartAndOpen();
    EXPECT_EQ(dev.Channel.ReceiveThreadCount(), 1);
    dev.Channel.SendRecord(ReadCommand().data());
    const std::vector<LineRecord> records = TakeRecords(dev.Channel, 12);
    dev.Channel.SendRecord(IdleCommand().data());
    ASSERT_EQ(records.size(), 12u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const uint8_t* expected = &image[(i % 5) * LineRecordSize];
        EXPECT_TRUE(std::equal(records[i].begin(), records[i].end(), expected)) << "record " << i;
    }
}

TEST(SerialChannel, CloseJoinsTheReceiveThreadAndStopsSending) {
    LinkedDevice dev(8);
    dev.Device.PreloadImage(test::SyntheticImage(3));
    dev.StartDevice();
    ASSERT_TRUE(dev.Channel.Open(8));
    dev.Channel.Close();
    dev.Channel.Close(); // harmless twice
    EXPECT_FALSE(dev.Channel.Connected());
    EXPECT_EQ(dev.Channel.ReceiveThreadCount(), 0);
    // A load sent after Close never reaches the device.
    dev.Channel.SendRecord(LoadCommand().data());
    dev.Channel.SendRecord(IdleCommand().data());
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(dev.Device.LoadsCompleted(), 0);
    EXPECT_EQ(dev.Device.StoredImage(), test::SyntheticImage(3));
    EXPECT_TRUE(dev.Messages.empty());
}

TEST(SerialChannel, CloseDoesNotWaitOutTheStartupDelay) {
    LinkedDevice dev(9);
    dev.StartDevice();
    SerialChannel slow(dev.Folder.Path(), nullptr, ChannelOptions{.StartupDelayMs = 10000});
    ASSERT_TRUE(slow.Open(9));
    const auto start = std::chrono::steady_clock::now();
    slow.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(slow.ReceiveThreadCount(), 0);
}

TEST(SerialChannel, HangupClosesThePortAndTheNextSendReportsItGone) {
    LinkedDevice dev(10, SimulatorOptions{.Fault = SimulatorFault::Hangup});
    dev.Device.PreloadImage(test::SyntheticImage(20));
    dev.StartAndOpen();
    dev.Channel.SendRecord(ReadCommand().data());
    ASSERT_TRUE(
        Eventually([&] { return !dev.Channel.Connected() && dev.Channel.ReceiveThreadCount() == 0; }));
    EXPECT_TRUE(dev.Device.HungUp());
    // The next send tries the whole open again and says what went wrong, once.
    dev.Channel.SendRecord(IdleCommand().data());
    dev.Channel.SendRecord(IdleCommand().data());
    EXPECT_EQ(dev.Messages, std::vector<std::string>{"COM10 não disponivel"});
    EXPECT_FALSE(dev.Channel.Connected());
    EXPECT_EQ(dev.Channel.ReceiveThreadCount(), 0);
}

TEST(SerialChannel, SendAfterALostLinkReopensThePortWithOneReceiveThread) {
    LinkedDevice dev(11, SimulatorOptions{.Fault = SimulatorFault::Hangup});
    dev.Device.PreloadImage(test::SyntheticImage(20));
    dev.StartAndOpen();
    dev.Channel.SendRecord(ReadCommand().data());
    ASSERT_TRUE(Eventually([&] { return !dev.Channel.Connected(); }));

    // The device comes back on a new terminal under the same port name (the
    // one that hung up gives the port up first).
    dev.Device.Stop();
    DeviceSimulator replacement;
    const std::vector<uint8_t> image = test::SyntheticImage(4);
    replacement.PreloadImage(image);
    std::string error;
    ASSERT_TRUE(replacement.Start(&error)) << error;
    ASSERT_TRUE(replacement.LinkAsPort(dev.Folder.Path(), 11, &error)) << error;

    LineRecord r{};
    while (dev.Channel.TakeRecord(r.data())) {
    }
    dev.Channel.SendRecord(ReadCommand().data());
    EXPECT_TRUE(dev.Channel.Connected());
    EXPECT_EQ(dev.Channel.ReceiveThreadCount(), 1);
    EXPECT_TRUE(dev.Messages.empty());
    const std::vector<LineRecord> records = TakeRecords(dev.Channel, 4);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(std::equal(records[0].begin(), records[0].end(), image.begin()));
    dev.Channel.SendRecord(IdleCommand().data());
    EXPECT_EQ(dev.Channel.ReceiveThreadCount(), 1);
}

// Exclusive mode outlives the descriptor on a pseudo-terminal whose other end
// stays open; left set, it keeps every user but root out after one session.
TEST(SerialChannel, CloseLeavesThePortOutOfExclusiveMode) {
    LinkedDevice dev(6);
    dev.StartAndOpen();
    dev.Channel.Close();
    const int fd = ::open(dev.Device.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int exclusive = -1;
    ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    ::close(fd);
    EXPECT_EQ(exclusive, 0);
}

// The other user's side of the test below. A fork of this process (the
// simulator's thread runs in it) may only exec, so that side runs in a fresh
// process of this program: with KV_OPEN_AS_OTHER_USER=FOLDER it opens and
// closes port 7 of FOLDER three times and exits with the opens that succeeded.
[[maybe_unused]] const bool otherUserSide = [] {
    const char* folder = std::getenv("KV_OPEN_AS_OTHER_USER");
    if (folder == nullptr) return false;
    SerialChannel channel(folder, nullptr, test::QuickChannel);
    int opened = 0;
    for (int i = 0; i < 3; ++i) {
        opened += channel.Open(7) ? 1 : 0;
        channel.Close();
    }
    std::_Exit(opened);
}();

TEST(SerialChannel, AUserOtherThanRootOpensThePortAgainAfterClose) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
    LinkedDevice dev(7);
    dev.StartDevice();
    // The scratch folders and the terminal must be reachable by that user.
    for (const std::string& path : {dev.Folder.Path(), dev.Folder.File(""), dev.Device.SlavePath()})
        ASSERT_EQ(chmod(path.c_str(), 0777), 0) << path;

    // Everything the child needs is made before the fork. It runs a copy of
    // this program in the scratch folder: the build tree may lie where that
    // user cannot reach it.
    std::string self = dev.Folder.Path() + "other-user-side";
    std::filesystem::copy_file("/proc/self/exe", self);
    ASSERT_EQ(chmod(self.c_str(), 0755), 0);
    std::vector<std::string> environment = {"KV_OPEN_AS_OTHER_USER=" + dev.Folder.Path()};
    for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {self.data(), nullptr};

    constexpr uid_t Nobody = 65534;
    constexpr int CannotBecomeNobody = 100, CannotExec = 101;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(CannotBecomeNobody);
        execve(self.c_str(), argv, envp.data());
        _exit(CannotExec);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), CannotExec) << self << " cannot be run as nobody";
    ASSERT_NE(WEXITSTATUS(status), CannotBecomeNobody);
    EXPECT_EQ(WEXITSTATUS(status), 3) << "opens that succeeded as another user";
}

} // namespace
} // namespace kv
