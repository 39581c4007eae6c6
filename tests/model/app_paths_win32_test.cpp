// The Config folder and the ports on Windows: AppFolder/Config when it
// exists, else the user's roaming folder; port n is \\.\COMn; paths with
// letters outside ASCII reach the system intact.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/app_paths.h"
#include "model/file_path.h"
#include "model/project_file.h"
#include "model_test_support.h"

namespace kv {
namespace {

TEST(AppPathsWindows, ConfigFolderBesideTheProgramElseTheUsersRoamingFolder) {
    test::TempFolder app;
    const std::string folder = Utf8Text(std::filesystem::path(app.File("")).generic_wstring());
    const std::string users = ConfigFolder(folder);
    EXPECT_NE(users, folder + "Config/");
    EXPECT_TRUE(users.ends_with("/kv2208/")) << users;
    std::filesystem::create_directory(SystemPath(folder + "Config"));
    EXPECT_EQ(ConfigFolder(folder), folder + "Config/");
    EXPECT_EQ(ImageFilePath(folder), folder + "Config/CONF_KV2200-8.A$B");
}

TEST(AppPathsWindows, PortsAreTheSystemsComDevices) {
    for (const auto& [port, device] :
         {std::pair{1, "\\\\.\\COM1"}, {9, "\\\\.\\COM9"}, {255, "\\\\.\\COM255"}})
        EXPECT_EQ(PortDevicePath("C:/kv/", port), device);
}

// A user or folder name with accented letters: the folder is made and the
// files written and read under the same UTF-16 name.
TEST(AppPathsWindows, FoldersAndFilesWithLettersOutsideAscii) {
    test::TempFolder scratch;
    const std::filesystem::path wideApp =
        std::filesystem::path(scratch.File("")) / L"Jos\u00e9 \u00d1and\u00fa";
    std::filesystem::create_directories(wideApp / L"Config" / L"deeper");
    const std::string app = Utf8Text(wideApp.generic_wstring()) + "/";
    ASSERT_EQ(ConfigFolder(app), app + "Config/");
    EXPECT_EQ(PrepareConfigFolder(app), "");

    const auto store = test::SampleStore();
    const std::string project = ConfigFolder(app) + "Proj\u00e9t.MUX";
    ASSERT_EQ(WriteProjectFile(project, *store), ProjectFileStatus::Ok);
    EXPECT_TRUE(std::filesystem::exists(wideApp / L"Config" / L"Proj\u00e9t.MUX"));
    ConfigStore back{};
    ASSERT_EQ(ReadProjectFile(project, back), ProjectFileStatus::Ok);
    EXPECT_EQ(test::BytesOf(back), test::BytesOf(*store));
}

} // namespace
} // namespace kv
