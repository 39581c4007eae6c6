// Deleting a service, initialising service slots and the per-input PID limit.
#include <gtest/gtest.h>

#include "model/store_ops.h"
#include "model_test_support.h"

namespace kv {
namespace {

// Bytes of one service: its entries in the four per-service arrays.
struct ServiceBytes {
    int16_t input;
    int16_t pmtPid;
    std::vector<uint8_t> info;
    std::vector<uint8_t> pids;
    bool operator==(const ServiceBytes&) const = default;
};

ServiceBytes ServiceAt(const ServiceBlock& sb, int i) {
    return {sb.SvcInput[i], sb.SvcPmtPid[i], test::BytesOf(sb.SvcInfo[i]), test::BytesOf(sb.SvcPids[i])};
}

// NetName .. BitRate, the piece a delete carries over whole.
std::vector<uint8_t> NetworkPiece(const ServiceBlock& sb) {
    const auto* p = reinterpret_cast<const uint8_t*>(&sb) + offsetof(ServiceBlock, NetName);
    return {p, p + 48};
}

// Three services whose every byte is set, with a network piece whose
// reserved bytes are set too.
std::unique_ptr<ConfigStore> ThreeFullServices() {
    auto store = test::SampleStore();
    for (uint8_t& b : store->Svc.Reserved) b = 0xA5;
    for (int i = 0; i < 3; ++i) {
        store->Svc.SvcPids[i].Reserved1[0] = static_cast<uint8_t>(0x40 + i);
        store->Svc.SvcPids[i].Reserved2[1] = static_cast<uint8_t>(0x50 + i);
        store->Svc.SvcInfo[i].Name[9] = 0; // bytes after the NUL move too
        store->Svc.SvcInfo[i].Name[8] = static_cast<char>('a' + i);
    }
    return store;
}

struct DeleteCase {
    int index;
    std::vector<int> survivors; // old slots, in their new order
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << "delete slot " << c.index << " of 3";
}

class DeleteServiceTest : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteServiceTest, SlotsMoveDownAndNetworkPieceStays) {
    const DeleteCase& c = GetParam();
    auto before = ThreeFullServices();
    auto after = std::make_unique<ConfigStore>(*before);
    DeleteService(after->Svc, c.index, 3);

    EXPECT_EQ(after->Svc.SvcCount, 2);
    EXPECT_EQ(after->Svc.TsId, before->Svc.TsId);
    EXPECT_EQ(NetworkPiece(after->Svc), NetworkPiece(before->Svc));
    for (std::size_t to = 0; to < c.survivors.size(); ++to)
        EXPECT_EQ(ServiceAt(after->Svc, static_cast<int>(to)), ServiceAt(before->Svc, c.survivors[to]))
            << "slot " << to;

    // The slot the last service left is cleared.
    const ServiceBytes cleared = ServiceAt(after->Svc, 2);
    EXPECT_EQ(cleared.input, 0);
    EXPECT_EQ(cleared.pmtPid, 0);
    EXPECT_EQ(cleared.info, std::vector<uint8_t>(sizeof(ServiceInfo), 0));
    EXPECT_EQ(cleared.pids, std::vector<uint8_t>(sizeof(ServicePids), 0));
    // The ghost table is another record and stays as it was.
    EXPECT_EQ(test::BytesOf(after->Ghost), test::BytesOf(before->Ghost));
}

INSTANTIATE_TEST_SUITE_P(ThreeServices, DeleteServiceTest,
                         ::testing::Values(DeleteCase{0, {1, 2}}, DeleteCase{1, {0, 2}},
                                           DeleteCase{2, {0, 1}},
                                           // A list position past the stored services drops the last one.
                                           DeleteCase{5, {0, 1}}),
                         [](const ::testing::TestParamInfo<DeleteCase>& info) {
                             return "DeleteSlot" + std::to_string(info.param.index);
                         });

TEST(DeleteService, EmptyListChangesNothing) {
    auto store = ThreeFullServices();
    store->Svc.SvcCount = 0;
    const std::vector<uint8_t> before = test::BytesOf(*store);
    DeleteService(store->Svc, 0, 0);
    EXPECT_EQ(test::BytesOf(*store), before);
}

TEST(DeleteService, LastOfOneLeavesAnEmptyList) {
    auto store = ThreeFullServices();
    DeleteService(store->Svc, 0, 1);
    EXPECT_EQ(store->Svc.SvcCount, 0);
    EXPECT_EQ(store->Svc.TsId, 4660);
    EXPECT_STREQ(store->Svc.NetName, "NET ONE");
    EXPECT_EQ(ServiceAt(store->Svc, 0).pids, std::vector<uint8_t>(sizeof(ServicePids), 0));
}

TEST(InitServiceSlots, ClearsPidsAndNamesButKeepsTypesFlagsAndIds) {
    auto store = test::SampleStore();
    InitServiceSlots(store->Svc, 2);
    for (int i = 0; i < 2; ++i) {
        const ServicePids& p = store->Svc.SvcPids[i];
        EXPECT_EQ(store->Svc.SvcInput[i], 0);
        EXPECT_EQ(store->Svc.SvcPmtPid[i], PidNone);
        EXPECT_STREQ(store->Svc.SvcInfo[i].Name, " ");
        EXPECT_STREQ(store->Svc.SvcInfo[i].Provider, " ");
        for (int16_t pid : {p.PmtPid, p.PcrIn, p.PcrOut, p.VideoIn, p.VideoOut}) EXPECT_EQ(pid, PidNone);
        for (const AudioSlot& a : p.Audio) {
            EXPECT_EQ(a.PidIn, PidNone);
            EXPECT_EQ(a.PidOut, PidNone);
        }
        for (const DataSlot& d : p.Data) {
            EXPECT_EQ(d.PidIn, PidNone);
            EXPECT_EQ(d.PidOut, PidNone);
        }
        // Left as they were.
        EXPECT_EQ(store->Svc.SvcInfo[i].ServiceId, 1000 + i);
        EXPECT_EQ(p.ServiceId, 2000 + i);
        EXPECT_EQ(p.VideoType, i);
        EXPECT_EQ(p.Audio[3].Type, 3);
        EXPECT_EQ(p.Data[1].DataType, 1);
        EXPECT_STREQ(p.Data[0].SubLang, "por");
        EXPECT_EQ(p.Data[1].SubType, 0x11);
        EXPECT_EQ(p.GenPmt, i != 1);
    }
    // Slot 2 is beyond n and untouched.
    EXPECT_EQ(store->Svc.SvcInput[2], 3);
    EXPECT_EQ(store->Svc.SvcPids[2].VideoOut, 702);
}

// A service whose output PIDs are a video, `audios` audio and `datas` data
// streams; every other output PID is empty.
void AddService(ConfigStore& s, int input, int audios, int datas) {
    const int i = s.Svc.SvcCount++;
    s.Svc.SvcInput[i] = static_cast<int16_t>(input);
    ServicePids& p = s.Svc.SvcPids[i];
    p.PmtPid = 100;
    p.PcrOut = 101;
    p.VideoOut = 102;
    for (int a = 0; a < AudioSlots; ++a)
        p.Audio[a].PidOut = a < audios ? static_cast<int16_t>(110 + a) : PidNone;
    for (int d = 0; d < DataSlots; ++d)
        p.Data[d].PidOut = d < datas ? static_cast<int16_t>(120 + d) : PidNone;
}

void AddGhosts(ConfigStore& s, int input, int n) {
    for (int k = 0; k < n; ++k) s.Ghost.GhostInput[s.Ghost.GhostCount++] = static_cast<int16_t>(input);
}

TEST(PidLimit, FortyGhostsAndAFourStreamServiceReachItOnlyOnTheirCommonInput) {
    for (int serviceInput : {3, 4}) {
        auto store = std::make_unique<ConfigStore>();
        AddGhosts(*store, 3, 40);
        AddService(*store, serviceInput, 2, 1); // video, two audio, one data
        const bool shared = serviceInput == 3;
        EXPECT_EQ(InputPidCount(*store, 3), shared ? 44 : 40) << "service on input " << serviceInput;
        EXPECT_EQ(PidLimitReached(*store, 3), shared) << "service on input " << serviceInput;
        EXPECT_EQ(InputPidCount(*store, 4), shared ? 0 : 4) << "service on input " << serviceInput;
    }
}

TEST(PidLimit, CountsOnlyOutputStreamsThatAreThere) {
    auto store = std::make_unique<ConfigStore>();
    AddService(*store, 2, 0, 0); // PMT and PCR are not counted; empty slots are PidNone
    EXPECT_EQ(InputPidCount(*store, 2), 1);
    AddService(*store, 2, 4, 2);
    EXPECT_EQ(InputPidCount(*store, 2), 1 + 7);
    store->Svc.SvcPids[1].VideoOut = PidNone;
    EXPECT_EQ(InputPidCount(*store, 2), 1 + 6);
}

TEST(PidLimit, IgnoresSlotsBeyondTheCounts) {
    auto store = std::make_unique<ConfigStore>();
    AddGhosts(*store, 5, 43);
    AddService(*store, 5, 1, 0);
    EXPECT_TRUE(PidLimitReached(*store, 5));
    store->Ghost.GhostCount = 42; // entries 42.. are free slots now
    EXPECT_EQ(InputPidCount(*store, 5), 44);
    store->Svc.SvcCount = 0;
    EXPECT_EQ(InputPidCount(*store, 5), 42);
    EXPECT_FALSE(PidLimitReached(*store, 5));
}

TEST(ActiveRate, GhostOnlyDescriptionTakesTheGhostCopies) {
    struct Case {
        int16_t services;
        int16_t ghosts;
        bool fromGhostBlock;
    };
    const Case cases[] = {{3, 0, false}, {3, 2, false}, {0, 2, true}, {0, 0, false}};
    for (const Case& c : cases) {
        auto store = test::SampleStore();
        store->Svc.SvcCount = c.services;
        store->Ghost.GhostCount = c.ghosts;
        const bool ghost = c.fromGhostBlock;
        EXPECT_EQ(ActiveRateGaps(*store), ghost ? store->Ghost.GhostRateGaps : store->Svc.RateGaps)
            << c.services << " services, " << c.ghosts << " ghosts";
        EXPECT_EQ(ActiveRateStuff(*store), ghost ? 9 : 7)
            << c.services << " services, " << c.ghosts << " ghosts";
    }
}

} // namespace
} // namespace kv
