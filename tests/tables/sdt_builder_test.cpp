// The SDT: its service entries and how the section is cut into packets.
#include <gtest/gtest.h>

#include "tables/crc32.h"
#include "tables/sdt_table.h"
#include "tables_test_support.h"

namespace kv {
namespace {

std::unique_ptr<ConfigStore> StoreWithServices(int n) {
    auto store = test::ZeroStore();
    store->Svc.TsId = 0x0102;
    for (int i = 0; i < n; ++i)
        test::AddService(*store, 1, static_cast<uint16_t>(0x100 + i), 0x100,
                         ("S" + std::to_string(i)).c_str(), "Prov");
    return store;
}

// The section joined again from the packets, as a receiver reassembles it.
std::vector<uint8_t> JoinedSection(const std::vector<Packet>& packets) {
    std::vector<uint8_t> section(packets[0].begin() + 5, packets[0].end());
    for (std::size_t j = 1; j < packets.size(); ++j)
        section.insert(section.end(), packets[j].begin() + 4, packets[j].end());
    return section;
}

TEST(SdtSection, ContinuationPacketsPerServiceCount) {
    const std::pair<int, int> cases[] = {{0, 0},  {1, 0},  {5, 0},  {6, 1},  {11, 1},
                                         {12, 2}, {17, 2}, {18, 3}, {24, 4}, {41, 6}};
    for (auto [services, extra] : cases)
        EXPECT_EQ(SdtExtraPackets(services), extra) << services << " services";
}

TEST(SdtSection, ServiceEntryBytes) {
    auto store = StoreWithServices(1);
    ServiceInfo& info = store->Svc.SvcInfo[0];
    info.EitSchedule = 1;
    info.EitPresent = 0;
    test::SetText(info.Name, "News");
    test::SetText(info.Provider, "Brimco TV");
    const std::vector<uint8_t> sdt = BuildSdtSection(store->Svc);
    ASSERT_EQ(sdt.size(), 188u);
    EXPECT_EQ(test::Slice(sdt, 0, 16), test::Hex("47 40 11 10 00  42 F0 2A 01 02 C1 00 00  01 02 FF"));
    EXPECT_EQ(test::Slice(sdt, 16, 30), test::Hex("01 00 F2 00 19 48 17 01"
                                                  "0A 42 72 69 6D 63 6F 20 54 56 00"
                                                  "0A 4E 65 77 73 00 00 00 00 00 00"));
    EXPECT_EQ(Crc32Mpeg2(std::span(sdt).subspan(5, 45)), 0u);
}

TEST(SdtSection, FiveServicesFitOnePacket) {
    const auto sdt = BuildSdtSection(StoreWithServices(5)->Svc);
    ASSERT_EQ(sdt.size(), 188u);
    EXPECT_EQ(sdt[6], 0xF0);
    EXPECT_EQ(sdt[7], 162);
    EXPECT_EQ(Crc32Mpeg2(std::span(sdt).subspan(5, 165)), 0u);
    EXPECT_EQ(PacketiseSdt(sdt).size(), 1u);
}

TEST(SdtSection, SixServicesSpillIntoAContinuationPacket) {
    const auto sdt = BuildSdtSection(StoreWithServices(6)->Svc);
    ASSERT_EQ(sdt.size(), 376u);
    EXPECT_EQ((sdt[6] & 0x0F) * 256 + sdt[7], 192);
    const auto packets = PacketiseSdt(sdt);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(test::Slice(packets[0], 0, 188), test::Slice(sdt, 0, 188));
    EXPECT_EQ(test::Slice(packets[1], 0, 4), test::Hex("47 00 11 10"));
    EXPECT_EQ(test::Slice(packets[1], 4, 184), test::Slice(sdt, 188, 184));
    const auto section = JoinedSection(packets);
    EXPECT_EQ(Crc32Mpeg2(std::span(section).first(195)), 0u);
}

TEST(SdtSection, TwentyFourServicesWriteOneAllStuffingPacket) {
    const auto sdt = BuildSdtSection(StoreWithServices(24)->Svc);
    const auto packets = PacketiseSdt(sdt);
    ASSERT_EQ(packets.size(), 5u);
    const auto section = JoinedSection(packets);
    EXPECT_EQ(Crc32Mpeg2(std::span(section).first(12 + 30 * 24 + 3)), 0u);
    EXPECT_EQ(test::Slice(packets[4], 0, 4), test::Hex("47 00 11 10"));
    for (std::size_t i = 4; i < PacketSize; ++i) ASSERT_EQ(packets[4][i], 0xFF) << i;
}

TEST(SdtSection, NamesAreTenStoredBytesWhateverFollowsTheNul) {
    auto store = StoreWithServices(1);
    std::memcpy(store->Svc.SvcInfo[0].Name, "AB\0xyz\0\0\0\0", 11);
    const auto sdt = BuildSdtSection(store->Svc);
    EXPECT_EQ(test::Slice(sdt, 36, 10), test::Hex("41 42 00 78 79 7A 00 00 00 00"));
}

} // namespace
} // namespace kv
