// Every field written through the records lands at its byte offset in the
// saved project file, little-endian.
#include <gtest/gtest.h>

#include <functional>

#include "model/project_file.h"
#include "model_test_support.h"

namespace kv {
namespace {

struct FieldAt {
    const char* field;
    std::function<void(ConfigStore&)> set;
    std::size_t offset;
    std::vector<uint8_t> bytes;
};

// Offsets are those of the project file; each field gets a value of its own.
const std::vector<FieldAt>& Fields() {
    static const std::vector<FieldAt> fields = {
        {"SvcInput[2]", [](ConfigStore& s) { s.Svc.SvcInput[2] = 8; }, 4, {0x08, 0x00}},
        {"SvcInput[170]", [](ConfigStore& s) { s.Svc.SvcInput[170] = 0x0102; }, 340, {0x02, 0x01}},
        {"SvcCount", [](ConfigStore& s) { s.Svc.SvcCount = 3; }, 342, {0x03, 0x00}},
        {"TsId", [](ConfigStore& s) { s.Svc.TsId = 4660; }, 344, {0x34, 0x12}},
        {"SvcPmtPid[1]", [](ConfigStore& s) { s.Svc.SvcPmtPid[1] = 0x0FFE; }, 348, {0xFE, 0x0F}},
        {"SvcInfo[1].ServiceId",
         [](ConfigStore& s) { s.Svc.SvcInfo[1].ServiceId = 0xABCD; },
         714,
         {0xCD, 0xAB}},
        {"SvcInfo[1].EitPresent", [](ConfigStore& s) { s.Svc.SvcInfo[1].EitPresent = 0x11; }, 716, {0x11}},
        {"SvcInfo[1].EitSchedule", [](ConfigStore& s) { s.Svc.SvcInfo[1].EitSchedule = 0x12; }, 717, {0x12}},
        {"SvcInfo[1].Name",
         [](ConfigStore& s) { std::memcpy(s.Svc.SvcInfo[1].Name, "NM", 3); },
         718,
         {'N', 'M', 0}},
        {"SvcInfo[1].Provider",
         [](ConfigStore& s) { std::memcpy(s.Svc.SvcInfo[1].Provider, "PV", 3); },
         729,
         {'P', 'V', 0}},
        {"SvcInfo[99].Provider end",
         [](ConfigStore& s) { s.Svc.SvcInfo[99].Provider[10] = 0x5A; },
         3287,
         {0x5A}},
        {"NetName",
         [](ConfigStore& s) { std::memcpy(s.Svc.NetName, "NETWORK", 8); },
         3288,
         {'N', 'E', 'T', 'W', 'O', 'R', 'K', 0}},
        {"RateGaps[0]", [](ConfigStore& s) { s.Svc.RateGaps[0] = 0x0304; }, 3300, {0x04, 0x03}},
        {"RateGaps[9]", [](ConfigStore& s) { s.Svc.RateGaps[9] = -2; }, 3318, {0xFE, 0xFF}},
        {"RateStuff", [](ConfigStore& s) { s.Svc.RateStuff = 255; }, 3320, {0xFF, 0x00}},
        {"Reserved", [](ConfigStore& s) { s.Svc.Reserved[5] = 0x77; }, 3327, {0x77}},
        {"BitRate",
         [](ConfigStore& s) { s.Svc.BitRate = -27000000; },
         3328,
         {0x40, 0x03, 0x64, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"SvcPids[2].PmtPid", [](ConfigStore& s) { s.Svc.SvcPids[2].PmtPid = 0x0101; }, 3504, {0x01, 0x01}},
        {"SvcPids[2].ServiceId",
         [](ConfigStore& s) { s.Svc.SvcPids[2].ServiceId = 0xFEDC; },
         3506,
         {0xDC, 0xFE}},
        {"SvcPids[2].PcrIn", [](ConfigStore& s) { s.Svc.SvcPids[2].PcrIn = 0x0102; }, 3508, {0x02, 0x01}},
        {"SvcPids[2].PcrOut", [](ConfigStore& s) { s.Svc.SvcPids[2].PcrOut = 0x0103; }, 3510, {0x03, 0x01}},
        {"SvcPids[2].Audio[3].Type",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Audio[3].Type = 4; },
         3536,
         {0x04, 0x00}},
        {"SvcPids[2].Audio[3].PidIn",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Audio[3].PidIn = 0x0104; },
         3538,
         {0x04, 0x01}},
        {"SvcPids[2].Audio[3].PidOut",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Audio[3].PidOut = 0x0105; },
         3540,
         {0x05, 0x01}},
        {"SvcPids[2].Audio[3].Taken",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Audio[3].Taken = 0x21; },
         3542,
         {0x21}},
        {"SvcPids[2].VideoIn", [](ConfigStore& s) { s.Svc.SvcPids[2].VideoIn = 0x0106; }, 3544, {0x06, 0x01}},
        {"SvcPids[2].VideoOut",
         [](ConfigStore& s) { s.Svc.SvcPids[2].VideoOut = 0x0107; },
         3546,
         {0x07, 0x01}},
        {"SvcPids[2].VideoType", [](ConfigStore& s) { s.Svc.SvcPids[2].VideoType = 2; }, 3548, {0x02, 0x00}},
        {"SvcPids[2].Data[1].DataType",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].DataType = 1; },
         3568,
         {0x01, 0x00}},
        {"SvcPids[2].Data[1].PidIn",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].PidIn = 0x0108; },
         3570,
         {0x08, 0x01}},
        {"SvcPids[2].Data[1].PidOut",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].PidOut = 0x0109; },
         3572,
         {0x09, 0x01}},
        {"SvcPids[2].Data[1].Taken",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].Taken = 0x22; },
         3574,
         {0x22}},
        {"SvcPids[2].Data[1].SubEnable",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].SubEnable = 0x23; },
         3575,
         {0x23}},
        {"SvcPids[2].Data[1].SubLang",
         [](ConfigStore& s) { std::memcpy(s.Svc.SvcPids[2].Data[1].SubLang, "por", 4); },
         3576,
         {'p', 'o', 'r', 0}},
        {"SvcPids[2].Data[1].SubType",
         [](ConfigStore& s) { s.Svc.SvcPids[2].Data[1].SubType = 0x01020310; },
         3580,
         {0x10, 0x03, 0x02, 0x01}},
        {"SvcPids[2].PcrAdjust", [](ConfigStore& s) { s.Svc.SvcPids[2].PcrAdjust = 0x31; }, 3584, {0x31}},
        {"SvcPids[2].GenPmt", [](ConfigStore& s) { s.Svc.SvcPids[2].GenPmt = 0x32; }, 3585, {0x32}},
        {"SvcPids[99].Reserved2 end",
         [](ConfigStore& s) { s.Svc.SvcPids[99].Reserved2[1] = 0x33; },
         11735,
         {0x33}},
        {"GhostPidIn[5]", [](ConfigStore& s) { s.Ghost.GhostPidIn[5] = 0x010A; }, 11746, {0x0A, 0x01}},
        {"GhostPidOut[351]", [](ConfigStore& s) { s.Ghost.GhostPidOut[351] = 0x010B; }, 13142, {0x0B, 0x01}},
        {"GhostInput[0]", [](ConfigStore& s) { s.Ghost.GhostInput[0] = 6; }, 13144, {0x06, 0x00}},
        {"GhostCount", [](ConfigStore& s) { s.Ghost.GhostCount = 352; }, 13848, {0x60, 0x01}},
        {"GhostRateGaps[0]", [](ConfigStore& s) { s.Ghost.GhostRateGaps[0] = 0x010C; }, 13850, {0x0C, 0x01}},
        {"GhostRateStuff", [](ConfigStore& s) { s.Ghost.GhostRateStuff = 0x010D; }, 13870, {0x0D, 0x01}},
        {"GhostBitRate",
         [](ConfigStore& s) { s.Ghost.GhostBitRate = 0x0102030405060708; },
         13872,
         {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
    };
    return fields;
}

TEST(StoreLayout, SavedFileHoldsEveryFieldAtItsOffset) {
    test::TempFolder folder;
    auto store = std::make_unique<ConfigStore>();
    for (const FieldAt& f : Fields()) f.set(*store);
    const std::string path = folder.File("layout.MUX");
    ASSERT_EQ(WriteProjectFile(path, *store), ProjectFileStatus::Ok);

    const std::vector<uint8_t> file = test::ReadBytes(path);
    ASSERT_EQ(file.size(), 13880u);
    for (const FieldAt& f : Fields()) {
        ASSERT_LE(f.offset + f.bytes.size(), file.size()) << f.field;
        const std::vector<uint8_t> got(file.begin() + static_cast<std::ptrdiff_t>(f.offset),
                                       file.begin() + static_cast<std::ptrdiff_t>(f.offset + f.bytes.size()));
        EXPECT_EQ(got, f.bytes) << f.field << " at offset " << f.offset;
    }
}

} // namespace
} // namespace kv
