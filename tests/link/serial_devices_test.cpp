// The device each port opens, the serial devices found, binding a port, and
// the lock that keeps a second simulator off a port taken.
#include "link/serial_devices.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "link_test_support.h"
#include "model/app_paths.h"

namespace kv {
namespace {

using test::ScratchFolder;

TEST(SerialDevices, FoundByIdFirstThenUsbAcmAndBuiltInInNaturalOrder) {
    ScratchFolder dev;
    const std::string root = dev.Path() + "dev";
    std::filesystem::create_directories(root + "/serial/by-id");
    for (const char* name :
         {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB1", "ttyUSB0", "tty0", "serial/by-id/usb-X"})
        test::WriteBytes(root + "/" + name, {});
    const std::vector<std::string> expected = {root + "/serial/by-id/usb-X",
                                               root + "/ttyUSB0",
                                               root + "/ttyUSB1",
                                               root + "/ttyACM0",
                                               root + "/ttyS2",
                                               root + "/ttyS10"};
    EXPECT_EQ(SerialDevicesPresent(root), expected);
}

TEST(SerialDevices, BindingAPortAndBackToItsDefault) {
    ScratchFolder folder;
    const std::string device = folder.Path() + "ttyFake";
    test::WriteBytes(device, {});
    ASSERT_TRUE(BindPort(folder.Path(), 4, device));
    PortBinding b = DescribePort(folder.Path(), 4);
    EXPECT_EQ(b.DevicePath, device);
    EXPECT_TRUE(b.Linked && b.Exists);
    EXPECT_EQ(PortDevicePath(folder.Path(), 4), PortLinkPath(folder.Path(), 4))
        << "the channel follows the link";
    EXPECT_EQ(DeviceChoices(folder.Path(), folder.Path() + "nodev"), std::vector<std::string>{device});

    ASSERT_TRUE(BindPort(folder.Path(), 4, ""));
    b = DescribePort(folder.Path(), 4);
    EXPECT_EQ(b.DevicePath, "/dev/ttyS3");
    EXPECT_FALSE(b.Linked);
}

TEST(SerialDevices, APortASimulatorPlaysIsNeitherRetakenNorRebound) {
    test::LinkedDevice first(2);
    first.StartDevice();
    DeviceSimulator second;
    std::string error;
    ASSERT_TRUE(second.Start(&error)) << error;
    EXPECT_FALSE(second.LinkAsPort(first.Folder.Path(), 2, &error));
    EXPECT_EQ(error,
              "COM2 is taken by another running simulator (" + PortLockPath(first.Folder.Path(), 2) + ")");
    EXPECT_FALSE(BindPort(first.Folder.Path(), 2, "", &error));
    EXPECT_EQ(DescribePort(first.Folder.Path(), 2).DevicePath, first.Device.SlavePath());

    first.Device.Stop(); // gives the port up
    EXPECT_TRUE(second.LinkAsPort(first.Folder.Path(), 2, &error)) << error;
}

} // namespace
} // namespace kv
