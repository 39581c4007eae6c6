// Sending, playing back and comparing images against the simulated device,
// end to end over a pseudo-terminal.
#include "link/transfer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "link_test_support.h"

namespace kv {
namespace {

using test::LinkedDevice;

struct SendCase {
    const char* behaviour;
    SimulatorFault fault;
    int expected;
};

TEST(TransferAndVerify, ResultCodeFollowsTheDeviceBehaviour) {
    const SendCase cases[] = {
        {"a device that plays its image back gives 0", SimulatorFault::None, 0},
        {"noise before the playback is dropped: 0", SimulatorFault::Garbage, 0},
        {"a playback that starts mid-cycle waits for the header: 0", SimulatorFault::Midcycle, 0},
        {"a silent device gives 3", SimulatorFault::Silent, 3},
        {"a flipped byte in the played-back copy gives 10", SimulatorFault::Corrupt, 10},
        {"a device that hangs up gives 11", SimulatorFault::Hangup, 11},
    };
    int port = 30;
    for (const SendCase& c : cases) {
        LinkedDevice dev(port++, SimulatorOptions{.Fault = c.fault});
        dev.StartAndOpen();
        const std::vector<uint8_t> image = test::SyntheticImage(11);
        const std::string imageFile = dev.Folder.File("CONF_KV2200-8.A$B");
        const std::string readBackFile = dev.Folder.File("CONF_KV2200-8.C$D");
        test::WriteBytes(imageFile, image);

        EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, readBackFile, test::QuickTiming)),
                  c.expected)
            << c.behaviour;
        EXPECT_EQ(dev.Device.StoredImage(), image) << c.behaviour << ": the device keeps what was sent";
        if (c.expected == 0) {
            EXPECT_EQ(test::ReadBytes(readBackFile), image) << c.behaviour;
        }
        // A hang-up is said once, by its code: the lost port is not opened
        // again within the transfer.
        EXPECT_EQ(dev.Messages, std::vector<std::string>{}) << c.behaviour;
    }
}

TEST(TransferAndVerify, ImageFileProblemsGiveTheirCodes) {
    LinkedDevice dev(40);
    dev.StartAndOpen();
    const std::string imageFile = dev.Folder.File("CONF_KV2200-8.A$B");
    const std::string readBackFile = dev.Folder.File("CONF_KV2200-8.C$D");

    // No image file: 1, and nothing is loaded.
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, readBackFile, test::QuickTiming)), 1);
    EXPECT_EQ(dev.Device.LoadsCompleted(), 0);

    // A trailing partial record is not sent; the read-back is shorter: 6.
    std::vector<uint8_t> ragged = test::SyntheticImage(11);
    ragged.resize(ragged.size() + 100, 0x00);
    test::WriteBytes(imageFile, ragged);
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, readBackFile, test::QuickTiming)), 6);
    EXPECT_EQ(test::ReadBytes(readBackFile), test::SyntheticImage(11));

    // The read-back file cannot be created: 2.
    test::WriteBytes(imageFile, test::SyntheticImage(11));
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, dev.Folder.Path() + "missing/readback",
                                           test::QuickTiming)),
              2);
}

TEST(TransferAndVerify, ImageWithoutHeaderCannotBeCapturedBack) {
    LinkedDevice dev(41);
    dev.StartAndOpen();
    const std::vector<uint8_t> image = test::SyntheticImage(10, /*withHeader=*/false);
    const std::string imageFile = dev.Folder.File("CONF_KV2200-8.A$B");
    test::WriteBytes(imageFile, image);
    // The device plays the image in a loop, but no header ever comes round.
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, dev.Folder.File("CONF_KV2200-8.C$D"),
                                           test::QuickTiming)),
              3);
    EXPECT_EQ(dev.Device.StoredImage(), image);
}

TEST(TransferAndVerify, ChannelThatWasNeverOpenedGives11) {
    LinkedDevice dev(42);
    dev.StartDevice();
    const std::string imageFile = dev.Folder.File("CONF_KV2200-8.A$B");
    test::WriteBytes(imageFile, test::SyntheticImage(11));
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, dev.Folder.File("CONF_KV2200-8.C$D"),
                                           test::QuickTiming)),
              11);
    EXPECT_EQ(dev.Device.LoadsCompleted(), 0);
}

// An adapter pulled out under a transfer: the terminal goes away while the
// read-back waits. The transfer ends with 11 within a second, the port is
// given back, and once the device is there again Connect works.
TEST(TransferAndVerify, ATerminalRemovedUnderATransferEndsItWith11AndConnectWorksAfterwards) {
    LinkedDevice dev(45, SimulatorOptions{.Fault = SimulatorFault::Silent});
    dev.StartAndOpen();
    const std::string imageFile = dev.Folder.File("CONF_KV2200-8.A$B");
    const std::string readBackFile = dev.Folder.File("CONF_KV2200-8.C$D");
    test::WriteBytes(imageFile, test::SyntheticImage(11));
    TransferTiming timing{.SilenceMs = 10000, .LoadWaitMs = 20};
    std::chrono::steady_clock::time_point removed;
    timing.Progress = [&](const char* step, int) {
        if (std::string(step) == "Waiting for the header" &&
            removed == std::chrono::steady_clock::time_point{}) {
            dev.Device.Stop();
            removed = std::chrono::steady_clock::now();
        }
    };
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, readBackFile, timing)), 11);
    EXPECT_LT(std::chrono::steady_clock::now() - removed, std::chrono::seconds(1));
    EXPECT_FALSE(dev.Channel.Connected());
    EXPECT_EQ(dev.Messages, std::vector<std::string>{}) << "one failure, one message: its code";

    DeviceSimulator back;
    std::string error;
    ASSERT_TRUE(back.Start(&error)) << error;
    ASSERT_TRUE(back.LinkAsPort(dev.Folder.Path(), dev.Port, &error)) << error;
    ASSERT_TRUE(dev.Channel.Open(dev.Port));
    EXPECT_EQ(ResultCode(TransferAndVerify(dev.Channel, imageFile, readBackFile, test::QuickTiming)), 0);
}

TEST(ReceiveImage, CapturesOneFullCycleFromTheHeader) {
    LinkedDevice dev(43, SimulatorOptions{.Fault = SimulatorFault::Midcycle});
    const std::vector<uint8_t> image = test::SyntheticImage(21);
    dev.Device.PreloadImage(image);
    dev.StartAndOpen();
    const std::string readBackFile = dev.Folder.File("CONF_KV2200-8.C$D");
    EXPECT_EQ(ReceiveImage(dev.Channel, readBackFile, test::QuickTiming), 0);
    EXPECT_EQ(test::ReadBytes(readBackFile), image);
    // The transfer leaves the device idle and the ring empty.
    LineRecord r{};
    EXPECT_FALSE(dev.Channel.TakeRecord(r.data()));
}

TEST(ReceiveImage, DeviceWithNothingStoredStaysSilent) {
    LinkedDevice dev(44);
    dev.StartAndOpen();
    EXPECT_EQ(ReceiveImage(dev.Channel, dev.Folder.File("CONF_KV2200-8.C$D"), test::QuickTiming), 2);
    EXPECT_EQ(ReceiveImage(dev.Channel, dev.Folder.Path() + "missing/readback", test::QuickTiming), 1);
    EXPECT_TRUE(dev.Channel.Connected());
}

TEST(CompareFiles, ResultFollowsTheFiles) {
    test::ScratchFolder folder;
    const std::vector<uint8_t> image = test::SyntheticImage(11);
    std::vector<uint8_t> changed = image;
    changed[500] ^= 0x01;
    const std::string a = folder.File("a"), same = folder.File("same"), other = folder.File("other"),
                      shorter = folder.File("shorter"), big = folder.File("big"), big2 = folder.File("big2");
    test::WriteBytes(a, image);
    test::WriteBytes(same, image);
    test::WriteBytes(other, changed);
    test::WriteBytes(shorter, std::vector<uint8_t>(image.begin(), image.end() - LineRecordSize));
    test::WriteBytes(big, std::vector<uint8_t>(32001, 0x47));
    test::WriteBytes(big2, std::vector<uint8_t>(32001, 0x47));
    test::WriteBytes(folder.File("limit"), std::vector<uint8_t>(32000, 0x47));
    test::WriteBytes(folder.File("limit2"), std::vector<uint8_t>(32000, 0x47));

    struct Case {
        std::string first, second;
        int expected;
    };
    const Case cases[] = {
        {a, same, 0},
        {folder.File("none"), same, 1},
        {a, folder.File("none"), 2},
        {a, shorter, 3},
        {big, big2, 4},
        {folder.File("limit"), folder.File("limit2"), 0},
        {a, other, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareFiles(c.first, c.second), c.expected) << c.first << " / " << c.second;
}

} // namespace
} // namespace kv
