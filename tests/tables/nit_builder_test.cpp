// The NIT: the network name as it goes on air.
#include <gtest/gtest.h>

#include "tables/crc32.h"
#include "tables/nit_table.h"
#include "tables_test_support.h"

namespace kv {
namespace {

TEST(NitPacket, EmptyNameGivesLength15AndAnEmptyDescriptor) {
    auto store = test::ZeroStore();
    store->Svc.TsId = 0x1234;
    const Packet nit = BuildNitPacket(store->Svc);
    EXPECT_EQ(test::Slice(nit, 0, 19),
              test::Hex("47 40 10 10 00  40 F0 0F 12 34 C1 00 00  F0 02  40 00  F0 00"));
    EXPECT_EQ(Crc32Mpeg2(std::span(nit).subspan(5, 18)), 0u);
    EXPECT_EQ(nit[23], 0xFF);
}

TEST(NitPacket, NameIsTrimmedAndItsLengthCountsTheTrimmedName) {
    struct Case {
        const char* stored;
        const char* onAir;
    };
    const Case cases[] = {
        {"  Net 1   ", "Net 1"},
        {"\tTV\r", "TV"},
        {"   ", ""},
        {"TEN  CHARS", "TEN  CHARS"},
    };
    for (const Case& c : cases) {
        auto store = test::ZeroStore();
        test::SetText(store->Svc.NetName, c.stored);
        const std::string expected = c.onAir;
        EXPECT_EQ(NetworkNameOnAir(store->Svc), expected);
        const Packet nit = BuildNitPacket(store->Svc);
        const std::size_t l = expected.size();
        EXPECT_EQ(nit[7], l + 15) << c.stored;
        EXPECT_EQ(nit[14], l + 2);
        EXPECT_EQ(nit[16], l);
        EXPECT_EQ(std::string(nit.begin() + 17, nit.begin() + 17 + static_cast<std::ptrdiff_t>(l)), expected);
        EXPECT_EQ(test::Slice(nit, 17 + l, 2), test::Hex("F0 00"));
        EXPECT_EQ(Crc32Mpeg2(std::span(nit).subspan(5, l + 18)), 0u);
    }
}

TEST(NitPacket, UnterminatedNameIsReadAsTenCharacters) {
    auto store = test::ZeroStore();
    std::memset(store->Svc.NetName, 'x', sizeof store->Svc.NetName); // no NUL at all
    EXPECT_EQ(NetworkNameOnAir(store->Svc), std::string(10, 'x'));
}

} // namespace
} // namespace kv
