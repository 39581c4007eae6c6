// A program's service is found by the program's name: renaming and deleting
// a program reach its own service whatever order the services were stored in.
#include <gtest/gtest.h>

#include <cstring>

#include "model/model_test_support.h"
#include "ops/program_names.h"

namespace kv {
namespace {

// SampleStore's services "Prog 0", "Prog 1", "Prog 2", stored in the order
// the operator entered them: not the order of the list.
std::unique_ptr<ConfigStore> StoredOutOfListOrder() {
    auto store = test::SampleStore();
    test::SetText(store->Svc.SvcInfo[0].Name, "SPORT");
    test::SetText(store->Svc.SvcInfo[1].Name, "NEWS");
    test::SetText(store->Svc.SvcInfo[2].Name, "NEWS"); // a second service of that name
    return store;
}

TEST(ProgramServiceSlot, FirstStoredServiceOfTheNameBlanksAroundIgnored) {
    const auto store = StoredOutOfListOrder();
    struct Case {
        const char* name;
        std::optional<int> slot;
    };
    const Case cases[] = {
        {"SPORT", 0},
        {"NEWS", 1},
        {" NEWS ", 1},
        {"news", std::nullopt},
        {"MOVIES", std::nullopt},
        {"", std::nullopt},
        {"NEWS X", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramServiceSlot(store->Svc, c.name), c.slot) << '"' << c.name << '"';
}

// Only services below the count are programs' services; a count out of the
// store's range finds nothing beyond the 100 slots.
TEST(ProgramServiceSlot, LooksOnlyAtStoredServices) {
    auto store = StoredOutOfListOrder();
    store->Svc.SvcCount = 1;
    EXPECT_EQ(ProgramServiceSlot(store->Svc, "NEWS"), std::nullopt);
    store->Svc.SvcCount = 0;
    EXPECT_EQ(ProgramServiceSlot(store->Svc, "SPORT"), std::nullopt);
    store->Svc.SvcCount = -5;
    EXPECT_EQ(ProgramServiceSlot(store->Svc, "SPORT"), std::nullopt);
    store->Svc.SvcCount = 300;
    test::SetText(store->Svc.SvcInfo[99].Name, "LAST");
    EXPECT_EQ(ProgramServiceSlot(store->Svc, "LAST"), 99);
}

TEST(RenameProgramService, RenamesTheServiceOfTheOldNameOnly) {
    auto store = StoredOutOfListOrder();
    const auto before = test::BytesOf(store->Svc);
    ASSERT_TRUE(RenameProgramService(store->Svc, "NEWS", "  WORLD "));
    EXPECT_STREQ(store->Svc.SvcInfo[1].Name, "WORLD");
    EXPECT_STREQ(store->Svc.SvcInfo[0].Name, "SPORT");
    EXPECT_STREQ(store->Svc.SvcInfo[2].Name, "NEWS");
    // Nothing but the name's bytes changed.
    const auto after = test::BytesOf(store->Svc);
    const std::size_t nameAt =
        offsetof(ServiceBlock, SvcInfo) + sizeof(ServiceInfo) + offsetof(ServiceInfo, Name);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < nameAt || i >= nameAt + sizeof(ServiceInfo::Name)) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
}

// The SDT copies names as 10 bytes: a shorter new name leaves nothing of the
// old one behind; a longer one is cut to 10 characters.
TEST(RenameProgramService, NewNameIsZeroFilledToTenBytesAndCut) {
    auto store = StoredOutOfListOrder();
    test::SetText(store->Svc.SvcInfo[0].Name, "SPORTSWEAR");
    ASSERT_TRUE(RenameProgramService(store->Svc, "SPORTSWEAR", " TV"));
    const char expected[10] = {'T', 'V', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(store->Svc.SvcInfo[0].Name, expected, 10), 0);

    ASSERT_TRUE(RenameProgramService(store->Svc, "TV", "ABCDEFGHIJKLM"));
    EXPECT_STREQ(store->Svc.SvcInfo[0].Name, "ABCDEFGHIJ");
}

TEST(DeleteProgramService, RemovesTheServiceAtItsOwnSlot) {
    struct Case {
        const char* name;
        std::vector<const char*> left;
    };
    const Case cases[] = {
        {"NEWS", {"SPORT", "NEWS"}},  // the first of the two, slot 1
        {"SPORT", {"NEWS", "NEWS"}},  // slot 0: the others move down
        {" SPORT", {"NEWS", "NEWS"}}, // the list keeps names as typed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto store = StoredOutOfListOrder();
        const uint16_t tsId = store->Svc.TsId;
        ASSERT_TRUE(DeleteProgramService(store->Svc, c.name));
        ASSERT_EQ(store->Svc.SvcCount, 2);
        for (int i = 0; i < 2; ++i) EXPECT_STREQ(store->Svc.SvcInfo[i].Name, c.left[i]);
        EXPECT_EQ(store->Svc.TsId, tsId);
    }
}

TEST(RenameAndDeleteProgramService, NameNoServiceCarriesChangesNothing) {
    auto store = StoredOutOfListOrder();
    const auto before = test::BytesOf(store->Svc);
    EXPECT_FALSE(RenameProgramService(store->Svc, "MOVIES", "KIDS"));
    EXPECT_FALSE(DeleteProgramService(store->Svc, "MOVIES"));
    EXPECT_EQ(test::BytesOf(store->Svc), before);
}

} // namespace
} // namespace kv
