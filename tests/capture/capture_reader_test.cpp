// Reading a capture of an input: packet size and sync found by looking, the
// PAT, PMTs and SDT through their versions, damage named, and the PID
// figures counted and timed by the PCRs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "tables/signalling_packets.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;

// Packets one after another at `packetSize` (188; 192 with a 4-byte prefix;
// 204 with 16 bytes after each), continuity counters running per PID.
class CaptureBytes {
  public:
    explicit CaptureBytes(int packetSize = 188) : packetSize_(packetSize) {}
    void Add(Packet packet) {
        const int pid = ((packet[1] & 0x1F) << 8) | packet[2];
        packet[3] = static_cast<uint8_t>((packet[3] & 0xF0) | (counters_[pid]++ & 0x0F));
        if (packetSize_ == 192) bytes.insert(bytes.end(), 4, 0x00);
        bytes.insert(bytes.end(), packet.begin(), packet.end());
        if (packetSize_ == 204) bytes.insert(bytes.end(), 16, 0xFF);
    }
    void AddTables(const ConfigStore& store, int version) {
        for (const Packet& p : SignallingPackets(store, version)) Add(p);
    }
    Bytes bytes;

  private:
    int packetSize_;
    int counters_[8192] = {};
};

// A payload packet on `pid`; with a PCR of `pcr` (27 MHz) when not negative.
Packet PayloadPacket(int pid, int64_t pcr = -1, int scrambling = 0) {
    Packet p{};
    p.fill(0xFF);
    p[0] = 0x47;
    p[1] = static_cast<uint8_t>(pid >> 8);
    p[2] = static_cast<uint8_t>(pid);
    p[3] = static_cast<uint8_t>((scrambling << 6) | 0x10);
    if (pcr >= 0) {
        const uint64_t base = static_cast<uint64_t>(pcr) / 300, ext = static_cast<uint64_t>(pcr) % 300;
        p[3] |= 0x20;
        p[4] = 7;
        p[5] = 0x10;
        p[6] = static_cast<uint8_t>(base >> 25);
        p[7] = static_cast<uint8_t>(base >> 17);
        p[8] = static_cast<uint8_t>(base >> 9);
        p[9] = static_cast<uint8_t>(base >> 1);
        p[10] = static_cast<uint8_t>(((base & 1) << 7) | 0x7E | (ext >> 8));
        p[11] = static_cast<uint8_t>(ext);
    }
    return p;
}

Capture Read(const Bytes& bytes, CaptureReading reading = CaptureReading::Pids) {
    return ReadCapture(bytes.data(), bytes.size(), reading);
}

void ExpectServicesOf(const Capture& capture, const ConfigStore& store) {
    ASSERT_EQ(capture.Services.size(), static_cast<std::size_t>(store.Svc.SvcCount));
    for (int i = 0; i < store.Svc.SvcCount; ++i) {
        const CaptureService& s = capture.Services[i];
        EXPECT_EQ(s.ServiceId, store.Svc.SvcPids[i].ServiceId) << i;
        EXPECT_EQ(s.PmtPid, store.Svc.SvcPmtPid[i]) << i;
        EXPECT_EQ(s.Name, std::string(store.Svc.SvcInfo[i].Name)) << i;
    }
}

TEST(CaptureReader, FindsPacketSizeAndSyncAndNamesDamage) {
    const auto store = test::RichStore();
    struct Case {
        const char* what;
        int packetSize;
        std::size_t lead;    // bytes before the first packet
        std::size_t noiseAt; // garbage of 37 bytes put in at this offset (0: none)
        std::size_t cut;     // bytes cut from the end
        const char* damage;  // "" for a whole capture
    } cases[] = {
        {"188-byte packets", 188, 0, 0, 0, ""},
        {"192-byte packets with a prefix", 192, 0, 0, 0, ""},
        {"204-byte packets with 16 bytes after", 204, 0, 0, 0, ""},
        {"begins inside a packet", 188, 100, 0, 0, ""},
        {"sync lost after two packets", 188, 0, 2 * 188, 0, "Sync lost at byte 376: 37 bytes skipped."},
        {"last packet cut", 188, 0, 0, 88, "The capture is truncated: its last packet has 100 of 188 bytes."},
    };
    for (const Case& c : cases) {
        CaptureBytes made(c.packetSize);
        made.AddTables(*store, 3);
        Bytes bytes(c.lead, 0x5A);
        bytes.insert(bytes.end(), made.bytes.begin(), made.bytes.end());
        if (c.noiseAt) bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(c.noiseAt), 37, 0x00);
        bytes.resize(bytes.size() - c.cut);
        // The services' tables come first; a cut only takes the last packet.
        const Capture capture = Read(bytes);
        EXPECT_EQ(capture.Refusal, "") << c.what;
        EXPECT_EQ(capture.PacketSize, c.packetSize) << c.what;
        EXPECT_EQ(capture.FirstSync, static_cast<int64_t>(c.lead + (c.packetSize == 192 ? 4 : 0))) << c.what;
        EXPECT_EQ(capture.Damage, *c.damage ? std::vector<std::string>{c.damage} : std::vector<std::string>{})
            << c.what;
        EXPECT_EQ(capture.TsId, store->Svc.TsId) << c.what;
        ExpectServicesOf(capture, *store);
    }
}

TEST(CaptureReader, RefusesWhatIsNoTransportStream) {
    const std::string text(2000, 'x');
    const Bytes oneSync{0x47, 0x00, 0x00};
    for (const Bytes& bytes : {Bytes{}, Bytes(text.begin(), text.end()), oneSync}) {
        const Capture capture = Read(bytes);
        EXPECT_NE(capture.Refusal, "") << bytes.size();
        EXPECT_TRUE(capture.Services.empty() && capture.Pids.empty());
    }
}

TEST(CaptureReader, TakesTheLastCompleteVersionAndSaysSo) {
    const auto first = test::RichStore();
    auto second = test::RichStore();
    --second->Svc.SvcCount; // the next PAT version no longer lists Golf
    CaptureBytes made;
    made.AddTables(*first, 3);
    made.AddTables(*second, 4);
    const Capture capture = Read(made.bytes);
    ExpectServicesOf(capture, *second);
    const auto& notes = capture.Notes;
    EXPECT_NE(
        std::find(
            notes.begin(), notes.end(),
            "The PAT changed during the capture (2 versions); the last complete one, version 4, is taken."),
        notes.end());
    EXPECT_NE(std::find(notes.begin(), notes.end(), "No complete PMT of service 303 on PID 288 (0x0120)."),
              notes.end()); // Charlie's PMT is not generated
}

TEST(CaptureReader, TablesOnlyStopsEarlyAndTheWholeReadCountsEveryPid) {
    auto store = test::RichStore();
    store->Svc.SvcPids[2].GenPmt = 1; // every PMT there
    CaptureBytes made;
    made.AddTables(*store, 1);
    const int tablePackets = static_cast<int>(made.bytes.size() / 188);
    constexpr int Packets = 10000;
    constexpr int64_t TicksPer10 = 27'000; // 10 packets a millisecond: 15.04 Mbit/s
    for (int k = 0; k < Packets; ++k)
        made.Add(k % 10 == 0 ? PayloadPacket(0x700, k / 10 * TicksPer10)
                             : PayloadPacket(0x701, -1, k % 2 ? 2 : 0));

    const Capture psi = Read(made.bytes, CaptureReading::Psi);
    EXPECT_FALSE(psi.WholeFile);
    EXPECT_LE(psi.Packets, tablePackets);

    const Capture whole = Read(made.bytes, CaptureReading::Pids);
    EXPECT_TRUE(whole.WholeFile);
    EXPECT_EQ(whole.Packets, tablePackets + Packets);
    ASSERT_TRUE(whole.Pid(0x700) && whole.Pid(0x701));
    EXPECT_EQ(whole.Pid(0x700)->Pcrs, Packets / 10);
    EXPECT_EQ(whole.Pid(0x701)->Scrambled, Packets / 2); // the odd packets
    EXPECT_EQ(whole.Pid(0x700)->Scrambled, 0);
    EXPECT_NEAR(whole.BitRate, 15.04e6, 15.04e6 * 0.001);
    EXPECT_NEAR(whole.Pid(0x700)->BitRate, whole.BitRate * 1000 / whole.Packets, 1.0);
    EXPECT_EQ(whole.Pid(0x1234), nullptr);
}

} // namespace
} // namespace kv
