// The checks and the storing of the service editor's "Ok", without the window.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "model/model_test_support.h"
#include "model/store_ops.h"
#include "ops/service_entry.h"

namespace kv {
namespace {

// The first service an operator typically enters.
ServiceEntry FirstService() {
    ServiceEntry e;
    e.Name = "NEWS";
    e.Input = 1;
    e.ServiceId = "1";
    e.PmtPid = "100";
    e.PcrIn = "101";
    e.PcrOut = "201";
    e.VideoIn = "101";
    e.VideoOut = "201";
    e.AudioIn[0] = "102";
    e.AudioOut[0] = "202";
    return e;
}

std::unique_ptr<ConfigStore> EmptyStore() {
    return std::make_unique<ConfigStore>();
}

// Stores `e` the way "Ok" does once every check has passed.
void StoreAsOk(ConfigStore& store, const ServiceEntry& e, Radix radix = Radix::Decimal,
               std::string_view netName = "NET") {
    const EntryCheck check = CheckServiceEntry(store, e, store.Svc.SvcCount, std::nullopt);
    ASSERT_EQ(check.Refusal, EntryRefusal::None) << RefusalMessage(check.Refusal);
    StoreServiceEntry(store.Svc, e, radix, check.Slot, netName);
}

struct RefusalCase {
    const char* what;
    void (*change)(ServiceEntry&);
    EntryRefusal expected;
};

// Blanks (never typed: the boxes refuse them) and texts without a decimal number.
TEST(ServiceEntry, BlankAndDigitlessTextsAreChecked) {
    const RefusalCase cases[] = {
        {"blank service ID", [](ServiceEntry& e) { e.ServiceId = "  "; }, EntryRefusal::FillPmtAndPcr},
        {"blank PCR boxes", [](ServiceEntry& e) { e.PcrIn = e.PcrOut = " "; }, EntryRefusal::FillPmtAndPcr},
        {"blank outputs",
         [](ServiceEntry& e) {
             e.VideoOut = " ";
             e.AudioOut[0] = "  ";
         },
         EntryRefusal::NoOutputPid},
        {"PCR out only passes", [](ServiceEntry& e) { e.PcrIn = ""; }, EntryRefusal::None},
        {"service ID 65535", [](ServiceEntry& e) { e.ServiceId = "65535"; }, EntryRefusal::None},
        {"service ID without digits", [](ServiceEntry& e) { e.ServiceId = "AB"; },
         EntryRefusal::ServiceIdRange},
        {"blank audio in counts as filled",
         [](ServiceEntry& e) {
             e.VideoIn = e.VideoOut = "";
             e.AudioIn[0] = " ";
         },
         EntryRefusal::None},
        {"data 1 alone",
         [](ServiceEntry& e) {
             e.VideoIn = e.VideoOut = e.AudioIn[0] = e.AudioOut[0] = "";
             e.DataIn[0] = "110";
             e.DataOut[0] = "210";
         },
         EntryRefusal::None},
    };
    for (const RefusalCase& c : cases) {
        auto store = test::SampleStore();
        ServiceEntry e = FirstService();
        c.change(e);
        const EntryCheck check = CheckServiceEntry(*store, e, store->Svc.SvcCount, std::nullopt);
        EXPECT_EQ(check.Refusal, c.expected) << c.what << ": " << RefusalMessage(check.Refusal);
    }
}

TEST(ServiceEntry, SelectedRowOrStoredNameDecideTheSlot) {
    auto store = test::SampleStore(); // "Prog 0" .. "Prog 2"
    const ServiceBlock& sb = store->Svc;
    struct Case {
        const char* name;
        std::optional<int> selected;
        bool found;
        int idx, newCount;
    } cases[] = {
        {"NEW", std::nullopt, false, 3, 4},     {"NEW", 1, false, 1, 3},
        {" Prog 2 ", std::nullopt, true, 2, 3}, {"Prog 2", 0, true, 2, 3},
        {"prog 2", std::nullopt, false, 3, 4}, // case counts
    };
    for (const Case& c : cases) {
        const ServiceSlot slot = FindServiceByName(sb, c.name, 3, c.selected);
        EXPECT_EQ(slot.Found, c.found) << c.name;
        EXPECT_EQ(slot.Idx, c.idx) << c.name;
        EXPECT_EQ(slot.NewCount, c.newCount) << c.name;
    }
    const ServiceSlot first = FindServiceByName(EmptyStore()->Svc, "X", 0, std::nullopt);
    EXPECT_EQ(first.Idx, 0);
    EXPECT_EQ(first.NewCount, 1);
}

TEST(ServiceEntry, ServiceIdInUseOnlyWithoutSelection) {
    auto store = test::SampleStore();
    EXPECT_TRUE(ServiceIdInUse(store->Svc, "2001", 3, false));
    EXPECT_FALSE(ServiceIdInUse(store->Svc, "2001", 3, true));
    EXPECT_FALSE(ServiceIdInUse(store->Svc, "2003", 3, false));
    EXPECT_FALSE(ServiceIdInUse(store->Svc, "2002", 2, false)); // only stored services count
}

// The window refuses the 101st service; storing never writes past the slots.
TEST(ServiceEntry, NoSlotBeyondTheStoreIsWritten) {
    auto store = test::SampleStore();
    const auto before = test::BytesOf(*store);
    StoreServiceEntry(store->Svc, FirstService(), Radix::Decimal,
                      ServiceSlot{false, MaxServices, MaxServices + 1}, "X");
    EXPECT_EQ(test::BytesOf(*store), before);
}

TEST(ServiceEntry, NamesAreTrimmedCutAndFollowedByZeroBytes) {
    auto store = EmptyStore();
    ServiceBlock& sb = store->Svc;
    std::memset(sb.NetName, 'x', sizeof sb.NetName);
    std::memset(sb.SvcInfo[0].Name, 'y', sizeof sb.SvcInfo[0].Name);
    std::memset(sb.SvcInfo[0].Provider, 'z', sizeof sb.SvcInfo[0].Provider);
    ServiceEntry e = FirstService();
    e.Name = "  AB  ";
    StoreAsOk(*store, e, Radix::Decimal, "  NETWORK NAME TOO LONG ");
    EXPECT_STREQ(sb.NetName, "NETWORK NA");
    EXPECT_STREQ(sb.SvcInfo[0].Provider, "NETWORK NA");
    EXPECT_STREQ(sb.SvcInfo[0].Name, "AB");
    for (int b = 2; b < MaxNameLength; ++b) EXPECT_EQ(sb.SvcInfo[0].Name[b], '\0') << b;

    StoreServiceEntry(sb, e, Radix::Decimal, ServiceSlot{true, 0, 1}, "  ");
    EXPECT_STREQ(sb.NetName, "");
    for (int b = 0; b < MaxNameLength; ++b) EXPECT_EQ(sb.NetName[b], '\0') << b;
}

TEST(ServiceEntry, ReplacingKeepsSubtitleFieldsAndStoresBadPidsAsNone) {
    auto store = test::SampleStore();
    ServiceEntry e = FirstService();
    e.Name = "Prog 1";
    e.ServiceId = "7";
    e.Input = 4;
    e.VideoOut = "5";       // below the lower bound
    e.AudioOut[0] = "9999"; // above 8191
    e.PcrIn = "100,7";
    e.VideoType = 2;
    e.AudioType = {4, 3, 2, 1};
    e.GenPmt = false;
    e.PcrAdjust = false;
    e.EitPresent = true;
    const EntryCheck check = CheckServiceEntry(*store, e, 3, std::nullopt);
    ASSERT_EQ(check.Refusal, EntryRefusal::None);
    ASSERT_TRUE(check.Slot.Found);
    StoreServiceEntry(store->Svc, e, Radix::Decimal, check.Slot, "NET ONE");

    const ServicePids& p = store->Svc.SvcPids[1];
    EXPECT_EQ(store->Svc.SvcCount, 3);
    EXPECT_EQ(store->Svc.SvcInput[1], 4);
    EXPECT_EQ(p.VideoOut, PidNone);
    EXPECT_EQ(p.Audio[0].PidOut, PidNone);
    EXPECT_EQ(p.PcrIn, 100);
    EXPECT_EQ(p.VideoType, 2);
    EXPECT_EQ(p.Audio[0].Type, 4);
    EXPECT_EQ(p.Audio[3].Type, 1);
    EXPECT_EQ(p.GenPmt, 0);
    EXPECT_EQ(p.PcrAdjust, 0);
    EXPECT_EQ(store->Svc.SvcInfo[1].EitPresent, 1);
    EXPECT_EQ(store->Svc.SvcInfo[1].EitSchedule, 0);
    // What the subtitle dialog and the read-back own stays.
    EXPECT_EQ(p.Data[0].SubEnable, 1);
    EXPECT_STREQ(p.Data[0].SubLang, "por");
    EXPECT_EQ(p.Data[1].SubType, 0x11);
    EXPECT_EQ(p.Data[1].DataType, 1);
    EXPECT_EQ(p.Audio[2].Taken, 1);
    // The neighbours are untouched.
    EXPECT_EQ(store->Svc.SvcPids[0].VideoOut, 700);
    EXPECT_EQ(store->Svc.SvcPids[2].VideoOut, 702);
}

// Each stream's boxes and type list land in that stream of the store, and a
// bad output box is named by its place in the streams' order.
TEST(ServiceEntry, EachStreamsBoxesLandInItsOwnStoredStream) {
    auto in = [](int position) { return 1000 + 10 * position; };
    auto text = [](int pid) { return std::to_string(pid); };
    ServiceEntry e = FirstService();
    e.PcrIn = text(in(0));
    e.PcrOut = text(in(0) + 1);
    e.VideoIn = text(in(1));
    e.VideoOut = text(in(1) + 1);
    e.VideoType = 2;
    for (int k = 0; k < AudioSlots; ++k) {
        e.AudioIn[k] = text(in(2 + k));
        e.AudioOut[k] = text(in(2 + k) + 1);
        e.AudioType[k] = k + 1;
    }
    for (int k = 0; k < DataSlots; ++k) {
        e.DataIn[k] = text(in(6 + k));
        e.DataOut[k] = text(in(6 + k) + 1);
    }
    auto store = EmptyStore();
    StoreAsOk(*store, e);

    const ServicePids& p = store->Svc.SvcPids[0];
    EXPECT_EQ(p.PcrIn, in(0));
    EXPECT_EQ(p.PcrOut, in(0) + 1);
    EXPECT_EQ(p.VideoIn, in(1));
    EXPECT_EQ(p.VideoOut, in(1) + 1);
    EXPECT_EQ(p.VideoType, 2);
    for (int k = 0; k < AudioSlots; ++k) {
        EXPECT_EQ(p.Audio[k].PidIn, in(2 + k)) << k;
        EXPECT_EQ(p.Audio[k].PidOut, in(2 + k) + 1) << k;
        EXPECT_EQ(p.Audio[k].Type, k + 1) << k;
    }
    for (int k = 0; k < DataSlots; ++k) {
        EXPECT_EQ(p.Data[k].PidIn, in(6 + k)) << k;
        EXPECT_EQ(p.Data[k].PidOut, in(6 + k) + 1) << k;
        EXPECT_EQ(p.Data[k].DataType, 0) << k;
    }

    EXPECT_EQ(FirstBadOutputPid(e, Radix::Decimal), std::nullopt);
    e.DataOut[1] = "9999";
    EXPECT_EQ(FirstBadOutputPid(e, Radix::Decimal), StreamIndex(StreamKind::Data, 1));
    e.AudioOut[2] = "5";
    EXPECT_EQ(FirstBadOutputPid(e, Radix::Decimal), StreamIndex(StreamKind::Audio, 2));

    // An input box that would be stored as absent: no number, out of range.
    EXPECT_EQ(FirstBadInputPid(e, Radix::Decimal), std::nullopt);
    for (const char* bad : {"x", "8191", "20"}) {
        e.VideoIn = bad;
        EXPECT_EQ(FirstBadInputPid(e, Radix::Decimal), StreamIndex(StreamKind::Video, 0)) << bad;
    }
    e.VideoIn = " ";
    EXPECT_EQ(FirstBadInputPid(e, Radix::Decimal), std::nullopt) << "an empty box is no stream";
}

TEST(ServiceEntry, SubtitleSlotFollowsTheName) {
    auto store = test::SampleStore();
    EXPECT_EQ(SubtitleSlotFor(store->Svc, "Prog 2", 3), 2);
    EXPECT_EQ(SubtitleSlotFor(store->Svc, "NEW", 3), 3);
    EXPECT_EQ(SubtitleSlotFor(store->Svc, "NEW", 0), 0);
    EXPECT_EQ(SubtitleSlotFor(store->Svc, "NEW", MaxServices), std::nullopt);
}

} // namespace
} // namespace kv
