// Project files: a save/open round trip keeps every byte; files of the wrong
// size or with values outside the store's limits are refused and leave the
// store as it was.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "model/project_file.h"
#include "model_test_support.h"

namespace kv {
namespace {

// Every byte random, then the used slots made valid: the free slots,
// reserved bytes, Taken flags and bytes after each NUL keep their noise.
std::unique_ptr<ConfigStore> NoisyValidStore(unsigned seed) {
    auto store = std::make_unique<ConfigStore>();
    std::mt19937 random(seed);
    auto* bytes = reinterpret_cast<uint8_t*>(store.get());
    for (std::size_t k = 0; k < sizeof(ConfigStore); ++k) bytes[k] = static_cast<uint8_t>(random());

    const auto sample = test::SampleStore();
    ServiceBlock& sb = store->Svc;
    sb.SvcCount = 3;
    sb.NetName[7] = 0;
    for (int i = 0; i < 3; ++i) {
        sb.SvcInput[i] = sample->Svc.SvcInput[i];
        sb.SvcPmtPid[i] = sample->Svc.SvcPmtPid[i];
        sb.SvcInfo[i].Name[5] = 0;
        sb.SvcInfo[i].Provider[10] = 0;
        ServicePids& p = sb.SvcPids[i];
        const ServicePids& q = sample->Svc.SvcPids[i];
        p.PmtPid = q.PmtPid;
        p.PcrIn = q.PcrIn;
        p.PcrOut = q.PcrOut;
        p.VideoIn = q.VideoIn;
        p.VideoOut = PidNone;
        for (int a = 0; a < AudioSlots; ++a) {
            p.Audio[a].PidIn = q.Audio[a].PidIn;
            p.Audio[a].PidOut = q.Audio[a].PidOut;
        }
        for (int d = 0; d < DataSlots; ++d) {
            p.Data[d].PidIn = q.Data[d].PidIn;
            p.Data[d].PidOut = q.Data[d].PidOut;
            p.Data[d].SubLang[3] = 0;
        }
    }
    GhostBlock& gb = store->Ghost;
    gb.GhostCount = 2;
    for (int j = 0; j < 2; ++j) {
        gb.GhostInput[j] = sample->Ghost.GhostInput[j];
        gb.GhostPidIn[j] = sample->Ghost.GhostPidIn[j];
        gb.GhostPidOut[j] = 0;
    }
    return store;
}

TEST(ProjectFile, SaveAndOpenKeepEveryByte) {
    test::TempFolder folder;
    const auto saved = NoisyValidStore(1);
    const std::string path = folder.File("round.MUX");
    ASSERT_EQ(WriteProjectFile(path, *saved), ProjectFileStatus::Ok);
    EXPECT_EQ(test::ReadBytes(path), test::BytesOf(*saved));

    auto opened = NoisyValidStore(2); // different noise beforehand
    ASSERT_EQ(ReadProjectFile(path, *opened), ProjectFileStatus::Ok);
    EXPECT_EQ(test::BytesOf(*opened), test::BytesOf(*saved));
}

TEST(ProjectFile, SavingOverAnExistingFileReplacesIt) {
    test::TempFolder folder;
    const std::string path = folder.File("old.MUX");
    test::WriteBytes(path, std::vector<uint8_t>(20000, 0xEE));
    const auto store = test::SampleStore();
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);
    EXPECT_EQ(test::ReadBytes(path), test::BytesOf(*store));
}

TEST(ProjectFile, CountsAtTheirLimitsAreAccepted) {
    test::TempFolder folder;
    auto full = std::make_unique<ConfigStore>();
    full->Svc.SvcCount = MaxServices;
    full->Ghost.GhostCount = MaxGhosts;
    const std::string path = folder.File("full.MUX");
    ASSERT_EQ(WriteProjectFile(path, *full), ProjectFileStatus::Ok);
    auto opened = test::SampleStore();
    ASSERT_EQ(ReadProjectFile(path, *opened), ProjectFileStatus::Ok);
    EXPECT_EQ(opened->Svc.SvcCount, 100);
    EXPECT_EQ(opened->Ghost.GhostCount, 352);
}

TEST(ProjectFile, BadValuesInFreeSlotsAreIgnored) {
    test::TempFolder folder;
    auto store = test::SampleStore();
    store->Svc.SvcInput[3] = -5;
    store->Svc.SvcPids[3].VideoOut = 30000;
    store->Svc.SvcInfo[3].Name[10] = 'X'; // no NUL in a free slot
    store->Ghost.GhostInput[2] = 99;
    const std::string path = folder.File("free.MUX");
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);
    auto opened = std::make_unique<ConfigStore>();
    ASSERT_EQ(ReadProjectFile(path, *opened), ProjectFileStatus::Ok);
    EXPECT_EQ(test::BytesOf(*opened), test::BytesOf(*store));
}

// The file bytes of a valid description, changed by `damage`.
struct RefusedCase {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
};

void PutI16(std::vector<uint8_t>& file, std::size_t offset, int16_t v) {
    file[offset] = static_cast<uint8_t>(v & 0xFF);
    file[offset + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

const std::vector<RefusedCase>& RefusedFiles() {
    static const std::vector<RefusedCase> cases = {
        {"empty", [](std::vector<uint8_t>& f) { f.clear(); }},
        {"one byte short", [](std::vector<uint8_t>& f) { f.pop_back(); }},
        {"service block only", [](std::vector<uint8_t>& f) { f.resize(11736); }},
        {"one byte long", [](std::vector<uint8_t>& f) { f.push_back(0); }},
        {"twice the size", [](std::vector<uint8_t>& f) { f.insert(f.end(), f.begin(), f.end()); }},
        {"101 services", [](std::vector<uint8_t>& f) { PutI16(f, 342, 101); }},
        {"negative service count", [](std::vector<uint8_t>& f) { PutI16(f, 342, -1); }},
        {"353 ghost entries", [](std::vector<uint8_t>& f) { PutI16(f, 13848, 353); }},
        {"negative ghost count", [](std::vector<uint8_t>& f) { PutI16(f, 13848, -32768); }},
        {"name without NUL", [](std::vector<uint8_t>& f) { std::fill_n(f.begin() + 688 + 4, 11, 'A'); }},
        {"network name without NUL", [](std::vector<uint8_t>& f) { std::fill_n(f.begin() + 3288, 12, 'N'); }},
    };
    return cases;
}

TEST(ProjectFile, RefusedFilesLeaveTheStoreAsItWas) {
    test::TempFolder folder;
    const std::vector<uint8_t> valid = test::BytesOf(*test::SampleStore());
    for (const RefusedCase& c : RefusedFiles()) {
        std::vector<uint8_t> bytes = valid;
        c.damage(bytes);
        const std::string path = folder.File("refused.MUX");
        test::WriteBytes(path, bytes);

        auto store = NoisyValidStore(3);
        const std::vector<uint8_t> before = test::BytesOf(*store);
        EXPECT_EQ(ReadProjectFile(path, *store), ProjectFileStatus::Corrupted) << c.what;
        EXPECT_EQ(test::BytesOf(*store), before) << c.what;
    }
}

// Files of earlier versions of the tool may hold PIDs and inputs out of
// range: they open as they are (the multiplex check reports the values).
TEST(ProjectFile, PidsAndInputsOutOfRangeOpenAsTheyAre) {
    test::TempFolder folder;
    const std::vector<uint8_t> valid = test::BytesOf(*test::SampleStore());
    const RefusedCase opened[] = {
        {"input 9 on a service", [](std::vector<uint8_t>& f) { PutI16(f, 2, 9); }},
        {"PID 8192 on a service", [](std::vector<uint8_t>& f) { PutI16(f, 3336 + 84 + 42, 8192); }},
        {"negative PMT PID", [](std::vector<uint8_t>& f) { PutI16(f, 346, -1); }},
        {"ghost input 9", [](std::vector<uint8_t>& f) { PutI16(f, 13144 + 2, 9); }},
        {"ghost PID out of range", [](std::vector<uint8_t>& f) { PutI16(f, 12440, 8192); }},
    };
    for (const RefusedCase& c : opened) {
        std::vector<uint8_t> bytes = valid;
        c.damage(bytes);
        const std::string path = folder.File("old.MUX");
        test::WriteBytes(path, bytes);
        auto store = NoisyValidStore(3);
        EXPECT_EQ(ReadProjectFile(path, *store), ProjectFileStatus::Ok) << c.what;
        EXPECT_EQ(test::BytesOf(*store), bytes) << c.what;
    }
}

TEST(ProjectFile, UnreadablePathsCannotBeOpened) {
    test::TempFolder folder;
    const std::string paths[] = {folder.File("missing.MUX"), folder.File("")};
    for (const std::string& path : paths) {
        auto store = NoisyValidStore(4);
        const std::vector<uint8_t> before = test::BytesOf(*store);
        EXPECT_EQ(ReadProjectFile(path, *store), ProjectFileStatus::CannotOpen) << path;
        EXPECT_EQ(test::BytesOf(*store), before) << path;
    }
}

TEST(ProjectFile, SavingWhereNoFileCanBeMadeFails) {
    test::TempFolder folder;
    const auto store = test::SampleStore();
    EXPECT_EQ(WriteProjectFile(folder.File("no-such-folder/x.MUX"), *store), ProjectFileStatus::CannotCreate);
    EXPECT_EQ(WriteProjectFile(folder.File(""), *store), ProjectFileStatus::CannotCreate);
}

TEST(ProjectFile, SavingOntoAFullDeviceIsReportedAsFailed) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this machine";
    const auto store = test::SampleStore();
    EXPECT_EQ(WriteProjectFile("/dev/full", *store), ProjectFileStatus::WriteFailed);
}

TEST(ProjectFile, MessagesForTheOperator) {
    EXPECT_STREQ(ProjectFileMessage(ProjectFileStatus::CannotOpen), "Cannot open input file.");
    EXPECT_STREQ(ProjectFileMessage(ProjectFileStatus::Corrupted), "File corrupted!");
    EXPECT_STREQ(ProjectFileMessage(ProjectFileStatus::CannotCreate), "Error at Save.");
    EXPECT_STREQ(ProjectFileMessage(ProjectFileStatus::WriteFailed), "Error at Save.");
    EXPECT_STREQ(ProjectFileMessage(ProjectFileStatus::Ok), "");
}

} // namespace
} // namespace kv
