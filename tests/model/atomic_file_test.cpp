// Every file is replaced whole or not at all: killed at any moment of a
// write, the file is the old one or the new one, never a cut one.
#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/atomic_file.h"
#include "model_test_support.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Filled(std::size_t size, uint8_t value) {
    return std::vector<uint8_t>(size, value);
}

// Files in `folder` other than `keep`: the temporaries a write left behind.
std::vector<std::string> Leftovers(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
    return names;
}

#ifndef _WIN32 // a writer killed by a signal: POSIX processes
TEST(AtomicFile, AWriterKilledAtAnyMomentLeavesTheOldFileOrTheNewOne) {
    test::TempFolder folder;
    const std::string path = folder.File("CONF_KV2200-8.C$D");
    const std::vector<uint8_t> oldBytes = Filled(3 << 20, 0x11), newBytes = Filled(1 << 20, 0x22);
    ASSERT_EQ(WriteFileAtomically(path, oldBytes.data(), oldBytes.size()), 0);
    std::mt19937 random(2208);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) { // writes the two contents in turn until killed
            for (int i = 0;; ++i) {
                const std::vector<uint8_t>& bytes = i % 2 ? oldBytes : newBytes;
                WriteFileAtomically(path, bytes.data(), bytes.size());
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::vector<uint8_t> now = test::ReadBytes(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes)
            << "round " << round << ": " << now.size() << " bytes";
        (now == oldBytes ? sawOld : sawNew)++;
    }
    EXPECT_GT(sawOld + sawNew, 0);
}
#endif

TEST(AtomicFile, AWriteDroppedOrRefusedKeepsTheOldFileAndLeavesNoTemporary) {
    test::TempFolder folder;
    const std::string path = folder.File("x.MUX");
    test::WriteBytes(path, {1, 2, 3});
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(path));
        std::fputs("half", file.Stream());
    } // dropped without Commit: an interrupt between two writes
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(Leftovers(folder.File(""), "x.MUX"), std::vector<std::string>{});
    // A write that completes replaces the old file (on Windows too, where a
    // rename onto an existing file must be asked for).
    ASSERT_EQ(WriteFileAtomically(path, "\x09", 1), 0);
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{9}));
    EXPECT_EQ(Leftovers(folder.File(""), "x.MUX"), std::vector<std::string>{});

    // A folder in the way is not replaced.
    fs::create_directory(folder.File("dir"));
    EXPECT_NE(WriteFileAtomically(folder.File("dir"), "x", 1), 0);
    EXPECT_TRUE(fs::is_directory(folder.File("dir")));
    // A full device reports the failure.
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteFileAtomically("/dev/full", "x", 1), ENOSPC);
    }
}

#ifndef _WIN32 // links and permission bits as POSIX has them
TEST(AtomicFile, ReplacingKeepsTheLinkAndThePermissions) {
    test::TempFolder folder;
    const std::string target = folder.File("target.MUX"), link = folder.File("link.MUX");
    test::WriteBytes(target, {1});
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    fs::create_symlink(target, link);
    ASSERT_EQ(WriteFileAtomically(link, "\x07\x08", 2), 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(test::ReadBytes(target), (std::vector<uint8_t>{7, 8}));
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
#endif

} // namespace
} // namespace kv
