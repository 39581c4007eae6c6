// Files live in the Config folder (beside the program, or the user's); port n
// is the link Config/COMn when there is one, else the n-th serial device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "model/app_paths.h"
#include "model_test_support.h"

namespace kv {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(AppPaths, FilesLiveInTheConfigFolderBesideTheProgramWhenItExists) {
    test::TempFolder app;
    const std::string folder = app.File("");
    std::filesystem::create_directory(folder + "Config");
    EXPECT_EQ(ConfigFolder(folder), folder + "Config/");
    EXPECT_EQ(ImageFilePath(folder), folder + "Config/CONF_KV2200-8.A$B");
    EXPECT_EQ(ReadBackFilePath(folder), folder + "Config/CONF_KV2200-8.C$D");
    EXPECT_EQ(PortFilePath(folder), folder + "Config/KV2200-8_CONFPORT.kv2");
    EXPECT_EQ(PortLinkPath(folder, 9), folder + "Config/COM9");
    EXPECT_EQ(PortName(1), "COM1");
}

TEST(AppPaths, InstalledProgramKeepsItsFilesInTheUsersConfigFolder) {
    ScopedEnv home("HOME", "/home/op");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/var/cfg");
        EXPECT_EQ(ConfigFolder("/usr/bin/"), "/var/cfg/kv2208/");
        EXPECT_EQ(PortFilePath("/usr/bin/"), "/var/cfg/kv2208/KV2200-8_CONFPORT.kv2");
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(ConfigFolder("/usr/bin/"), "/home/op/.config/kv2208/");
        EXPECT_EQ(ImageFilePath("/usr/bin/"), "/home/op/.config/kv2208/CONF_KV2200-8.A$B");
        EXPECT_EQ(PortLinkPath("/usr/bin/", 2), "/home/op/.config/kv2208/COM2");
    }
}

TEST(AppPaths, PreparingTheConfigFolderCreatesTheUsersFolderOrSaysWhyNot) {
    test::TempFolder scratch;
    const std::string root = scratch.File("");
    std::ofstream(root + "file") << "not a folder";
    std::filesystem::create_directories(root + "portable/Config");
    struct Case {
        const char* what;
        std::string appFolder, xdg, message, ready;
    };
    const Case cases[] = {
        {"the user's folder and its parents", "/usr/bin/", root + "a/b", "", root + "a/b/kv2208"},
        {"the folder beside the program", root + "portable/", root + "unused", "", root + "portable/Config"},
        {"a file in the way", "/usr/bin/", root + "file",
         "Cannot create " + root + "file/kv2208: Not a directory", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg.c_str());
        EXPECT_EQ(PrepareConfigFolder(c.appFolder), c.message);
        if (!c.ready.empty()) {
            EXPECT_TRUE(std::filesystem::is_directory(c.ready));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(root + "unused"));
    // Only its owner reads the user's folder.
    const auto perms = std::filesystem::status(root + "a/b/kv2208").permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    EXPECT_EQ(CannotWriteMessage("/x/y", EACCES), "Cannot write /x/y: Permission denied");
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
