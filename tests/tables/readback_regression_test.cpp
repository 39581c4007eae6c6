// Device images that once left the store breaking its invariants after
// "Get", found by fuzzing the read-back parse. The inputs as found are kept
// in tests/data/fuzz/readback_parse/ and run again by every fuzz run.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "model/store_invariants.h"
#include "tables/image_layout.h"
#include "tables/readback_parse.h"
#include "tables_test_support.h"

namespace kv {
namespace {

// The PAT record of the image that found it (record 11; the records before
// it play no part): twelve services, PMT PIDs 0x100 to 0x10A and 8191.
constexpr const char* TwelveServicePat =
    "47 40 00 10 00 00 b0 3d 00 00 cf 00 00 00 00 e0 10 00 64 e1 00 00 65 e1 01 00 66 e1 02 00"
    "67 e1 03 00 68 e1 04 00 69 e1 05 00 6a e1 06 00 6b e1 07 00 6c e1 08 00 6d e1 09 00 6e e1"
    "0a 00 6f ff ff";

TEST(ReadBackRegression, ServicesReadIntoFormerlyFreeSlotsEndTheirLanguageCodesWithinTheField) {
    // A store as a project file may leave it: three services, and in the
    // free slots whatever the file carried, here language codes that fill
    // all four bytes. The project reader accepts it: free slots mean nothing.
    auto store = test::SampleStore();
    for (int i = store->Svc.SvcCount; i < MaxServices; ++i)
        for (DataSlot& d : store->Svc.SvcPids[i].Data) std::memcpy(d.SubLang, "ABCD", sizeof d.SubLang);
    ASSERT_FALSE(StoreInvariantViolation(*store));

    std::vector<uint8_t> image((PatIndex + 1) * RecordSize, 0x00);
    const std::vector<uint8_t> pat = test::Hex(TwelveServicePat);
    std::fill(image.begin() + PatIndex * RecordSize, image.end(), 0xFF);
    std::copy(pat.begin(), pat.end(), image.begin() + PatIndex * RecordSize);

    const ReadBackResult result = ParseReadBack(image, *store);
    ASSERT_EQ(result.ServiceCount, 12);
    EXPECT_EQ(StoreInvariantViolation(*store), std::nullopt);
    // The letters stay; the code now ends within its field.
    EXPECT_STREQ(store->Svc.SvcPids[3].Data[0].SubLang, "ABC");
    EXPECT_STREQ(store->Svc.SvcPids[11].Data[1].SubLang, "ABC");
    EXPECT_STREQ(store->Svc.SvcPids[0].Data[0].SubLang, "por");
    // Slot 12 stays free and keeps what it held.
    EXPECT_EQ(std::memcmp(store->Svc.SvcPids[12].Data[0].SubLang, "ABCD", 4), 0);
}

} // namespace
} // namespace kv
