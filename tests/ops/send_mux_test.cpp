// "Send Mux" without the window: the boxes' steps in their order, the
// refusals that leave the store alone, and the image written before the
// transfer. Save of a project with the boxes' values.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "link/serial_channel.h"
#include "model/model_test_support.h"
#include "ops/bit_rate_entry.h"
#include "ops/project_files.h"
#include "ops/send_mux.h"
#include "tables/image_file.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using Outcome = SendMuxCheck::Outcome;

TEST(SendMux, BoxesApplyInOrderAndRefusalsLeaveTheStore) {
    struct Case {
        const char* rate;
        bool byteMode;
        Outcome outcome;
    };
    const Case cases[] = {
        {"38000000", true, Outcome::Ready},
        {"38000000", false, Outcome::Ready},
        {"", true, Outcome::RateIgnored},
        {"0", false, Outcome::RateIgnored},
        {"216000001", true, Outcome::RateOutOfRange},
        {"600000", false, Outcome::RateOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        auto store = test::RichStore();
        const auto before = std::make_unique<ConfigStore>(*store);
        const SendMuxCheck check = PrepareSendMux(
            *store,
            {.RateText = c.rate, .ByteMode = c.byteMode, .TsIdText = "70000", .NetName = "  NET ONE  "});
        EXPECT_EQ(check.outcome, c.outcome);
        if (c.outcome != Outcome::Ready) {
            // The warning is the mode's range, whatever was typed.
            ConfigStore scratch{};
            EXPECT_EQ(check.Warning, ApplyBitRateEntry(scratch, "1", c.byteMode).Warning);
            EXPECT_FALSE(check.ShownRate);
            EXPECT_EQ(std::memcmp(store.get(), before.get(), sizeof(ConfigStore)), 0);
            continue;
        }
        // The shown rate, not the typed one, goes into both copies.
        auto expected = std::make_unique<ConfigStore>(*before);
        const BitRateEntry entry = ApplyBitRateEntry(*expected, c.rate, c.byteMode);
        ASSERT_TRUE(check.ShownRate);
        EXPECT_EQ(*check.ShownRate, entry.EffectiveRate);
        EXPECT_NE(entry.EffectiveRate, 38000000);
        EXPECT_EQ(store->Svc.BitRate, entry.EffectiveRate);
        EXPECT_EQ(store->Ghost.GhostBitRate, entry.EffectiveRate);
        EXPECT_EQ(std::memcmp(store->Svc.RateGaps, expected->Svc.RateGaps, sizeof store->Svc.RateGaps), 0);
        EXPECT_EQ(store->Svc.TsId, 70000 & 0xFFFF);
        EXPECT_EQ(std::string(store->Svc.NetName, 7), "NET ONE");
    }
}

TEST(SendMux, FieldsLeftOutKeepTheStoreAndTheLimitsAreChecked) {
    auto store = test::RichStore();
    const auto before = std::make_unique<ConfigStore>(*store);
    EXPECT_EQ(PrepareSendMux(*store, {}).outcome, Outcome::Ready);
    EXPECT_EQ(std::memcmp(store.get(), before.get(), sizeof(ConfigStore)), 0);

    store->Svc.SvcCount = 42; // one more than a PAT announces
    const SendMuxCheck check = PrepareSendMux(*store, {.RateText = "38000000"});
    EXPECT_EQ(check.outcome, Outcome::OverLimit);
    EXPECT_EQ(check.Warning, ImageLimitViolation(*store).value_or(""));
    EXPECT_TRUE(check.ShownRate); // the box shows the rate even so
}

// A channel that was never opened makes any transfer LinkLost: an image that
// cannot be written shows ImageNotWritten instead, so nothing was sent.
TEST(SendMux, ImageIsWrittenWholeBeforeTheTransfer) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder.File("Config"));
    auto store = test::RichStore();
    SerialChannel channel(folder.File(""), nullptr);
    const DeviceFiles files = DeviceFilesOf(folder.File(""));
    ASSERT_EQ(files.ImageFile, folder.File("Config/CONF_KV2200-8.A$B"));

    DeviceFiles unwritable = files;
    unwritable.ImageFile = folder.File("missing/image");
    EXPECT_EQ(SendMuxImage(*store, 1, unwritable, &channel, {}).Result, TransferResult::ImageNotWritten);

    EXPECT_EQ(SendMuxImage(*store, 5, files, &channel, {}).Result, TransferResult::LinkLost);
    EXPECT_EQ(test::ReadBytes(files.ImageFile), BuildConfigImage(*store, 5));
    EXPECT_EQ(SendMuxImage(*store, 6, files, nullptr, {}).Result, TransferResult::Ok);
    EXPECT_EQ(test::ReadBytes(files.ImageFile), BuildConfigImage(*store, 6));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(WriteImageFile("/dev/full", BuildConfigImage(*store, 1)))
            << "a short write is a failure";
    }
}

TEST(SaveProject, BoxesGoIntoTheFileAndAFileNotCreatedLeavesTheStore) {
    test::TempFolder folder;
    auto store = test::RichStore();
    const auto before = std::make_unique<ConfigStore>(*store);
    SavedContent saved;
    const SaveEntry boxes{.TsIdText = "4660", .RateText = "1234567", .NetName = "SAVED NET"};
    EXPECT_EQ(SaveProject(folder.File("missing/a.mux"), *store, boxes, saved),
              ProjectFileStatus::CannotCreate);
    EXPECT_EQ(std::memcmp(store.get(), before.get(), sizeof(ConfigStore)), 0);
    EXPECT_TRUE(saved.Changed(*store));

    ASSERT_EQ(SaveProject(folder.File("a.mux"), *store, boxes, saved), ProjectFileStatus::Ok);
    EXPECT_FALSE(saved.Changed(*store));
    auto opened = std::make_unique<ConfigStore>();
    SavedContent openedMark;
    ASSERT_EQ(OpenProject(folder.File("a.mux"), *opened, openedMark), ProjectFileStatus::Ok);
    EXPECT_EQ(opened->Svc.TsId, 4660);
    EXPECT_EQ(opened->Svc.BitRate, 1234567);
    EXPECT_EQ(std::string(opened->Svc.NetName, 9), "SAVED NET");
    EXPECT_FALSE(openedMark.Changed(*opened));
}

} // namespace
} // namespace kv
