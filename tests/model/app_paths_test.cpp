// Files live in the Config folder next to the program; port n is the link
// Config/COMn when there is one, else the n-th serial device.
#include <gtest/gtest.h>
#include <unistd.h>

#include "model/app_paths.h"
#include "model_test_support.h"

namespace kv {
namespace {

TEST(AppPaths, FilesOfTheConfigFolder) {
    EXPECT_EQ(ImageFilePath("/opt/kv/"), "/opt/kv/Config/CONF_KV2200-8.A$B");
    EXPECT_EQ(ReadBackFilePath("/opt/kv/"), "/opt/kv/Config/CONF_KV2200-8.C$D");
    EXPECT_EQ(PortFilePath("/opt/kv/"), "/opt/kv/Config/KV2200-8_CONFPORT.kv2");
    EXPECT_EQ(PortName(1), "COM1");
    EXPECT_EQ(PortName(9), "COM9");
}

TEST(AppPaths, ExecutableFolderIsTheFolderOfThisProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(folder + "kv_model_tests"));
}

TEST(AppPaths, PortUsesItsConfigLinkWhenThereIsOne) {
    test::TempFolder app;
    const std::string folder = app.File("");
    std::filesystem::create_directory(folder + "Config");
    EXPECT_EQ(PortDevicePath(folder, 1), "/dev/ttyS0");
    EXPECT_EQ(PortDevicePath(folder, 4), "/dev/ttyS3");

    // A link counts even while its target is missing (the simulator may be starting).
    ASSERT_EQ(symlink("/dev/null", (folder + "Config/COM2").c_str()), 0);
    ASSERT_EQ(symlink(app.File("no-such-pty").c_str(), (folder + "Config/COM3").c_str()), 0);
    EXPECT_EQ(PortDevicePath(folder, 2), folder + "Config/COM2");
    EXPECT_EQ(PortDevicePath(folder, 3), folder + "Config/COM3");
    EXPECT_EQ(PortDevicePath(folder, 1), "/dev/ttyS0");
}

} // namespace
} // namespace kv
