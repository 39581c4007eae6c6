#pragma once
// Helpers of the tables tests: stores built service by service, a rich
// description that uses every kind of stream, and golden bytes as hex text.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/config_store.h"
#include "model/model_test_support.h"

namespace kv::test {

// An all-zero store, as at program start.
inline std::unique_ptr<ConfigStore> ZeroStore() {
    auto store = std::make_unique<ConfigStore>();
    std::memset(store.get(), 0, sizeof(ConfigStore));
    return store;
}

// Appends a service as the editor stores it: every stream absent (8191),
// PCR adjust and PMT generation on, names followed by zero bytes.
inline ServicePids& AddService(ConfigStore& store, int input, uint16_t serviceId, int16_t pmtPid,
                               const char* name = "Prog", const char* provider = "Net") {
    ServiceBlock& sb = store.Svc;
    const int i = sb.SvcCount++;
    sb.SvcInput[i] = static_cast<int16_t>(input);
    sb.SvcPmtPid[i] = pmtPid;
    ServiceInfo& info = sb.SvcInfo[i];
    info.ServiceId = serviceId;
    SetText(info.Name, name);
    SetText(info.Provider, provider);
    ServicePids& p = sb.SvcPids[i];
    std::memset(&p, 0, sizeof p);
    p.PmtPid = pmtPid;
    p.ServiceId = serviceId;
    p.PcrIn = p.PcrOut = p.VideoIn = p.VideoOut = PidNone;
    for (AudioSlot& a : p.Audio) a.PidIn = a.PidOut = PidNone;
    for (DataSlot& d : p.Data) d.PidIn = d.PidOut = PidNone;
    p.PcrAdjust = 1;
    p.GenPmt = 1;
    return p;
}

inline void AddGhost(ConfigStore& store, int input, int16_t in, int16_t out) {
    GhostBlock& gb = store.Ghost;
    gb.GhostInput[gb.GhostCount] = static_cast<int16_t>(input);
    gb.GhostPidIn[gb.GhostCount] = in;
    gb.GhostPidOut[gb.GhostCount] = out;
    ++gb.GhostCount;
}

inline void SetRate(ConfigStore& store, const int16_t (&gaps)[10], int16_t stuff) {
    std::memcpy(store.Svc.RateGaps, gaps, sizeof gaps);
    std::memcpy(store.Ghost.GhostRateGaps, gaps, sizeof gaps);
    store.Svc.RateStuff = store.Ghost.GhostRateStuff = stuff;
}

inline void SetSubtitle(DataSlot& d, int16_t dataType, const char* lang, int32_t type) {
    d.DataType = dataType;
    d.SubEnable = 1;
    SetText(d.SubLang, lang);
    d.SubType = type;
}

// 41 services over the eight inputs, each with a PCR on its video and two audios.
inline std::unique_ptr<ConfigStore> FortyOneServices() {
    auto store = ZeroStore();
    SetText(store->Svc.NetName, "Network");
    for (int i = 0; i < 41; ++i) {
        const auto base = static_cast<int16_t>(0x100 + 8 * i);
        const std::string name = "Prog " + std::to_string(i);
        ServicePids& p = AddService(*store, 1 + i % 8, static_cast<uint16_t>(i + 1),
                                    static_cast<int16_t>(0x1000 + i), name.c_str(), "Network");
        p.PcrIn = p.PcrOut = p.VideoIn = p.VideoOut = base;
        p.Audio[0] = {1, static_cast<int16_t>(base + 1), static_cast<int16_t>(base + 1), 0, 0};
        p.Audio[1] = {4, static_cast<int16_t>(base + 2), static_cast<int16_t>(base + 2), 0, 0};
        p.PcrAdjust = i < 32;
    }
    return store;
}

// Seven services over five inputs: every video, audio and data kind, AC-3,
// both subtitle kinds, a PCR that shares the video PID, a PMT on the null
// PID, a service without video, and ghost entries on three inputs. Output
// PIDs are unique, so the read-back can tell the streams apart.
inline std::unique_ptr<ConfigStore> RichStore() {
    auto store = ZeroStore();
    ConfigStore& s = *store;
    s.Svc.TsId = 4660;
    SetText(s.Svc.NetName, "TEN  CHARS");
    const int16_t gaps[10] = {133, 132, 133, 133, 132, 133, 132, 133, 133, 132};
    SetRate(s, gaps, 4);

    ServicePids& a = AddService(s, 1, 101, 0x100, "Alpha", "TEN  CHARS");
    a.PcrIn = a.VideoIn = 0x200;
    a.PcrOut = a.VideoOut = 0x300;
    a.VideoType = 0;                      // MPEG2
    a.Audio[0] = {0, 0x201, 0x301, 0, 0}; // MPEG1
    a.Audio[1] = {1, 0x202, 0x302, 0, 0}; // MPEG2
    a.Data[0].PidIn = 0x203;
    a.Data[0].PidOut = 0x303;
    SetSubtitle(a.Data[0], 0, "por", 0x10);
    s.Svc.SvcInfo[0].EitPresent = 1;

    ServicePids& b = AddService(s, 2, 202, 0x110, "Bravo TV", "Provider B");
    b.PcrIn = 0x210;
    b.PcrOut = 0x310;
    b.PcrAdjust = 0;
    b.VideoIn = 0x211;
    b.VideoOut = 0x311;
    b.VideoType = 1;                      // H.264
    b.Audio[0] = {2, 0x212, 0x312, 0, 0}; // HEAAC
    b.Audio[1] = {3, 0x213, 0x313, 0, 0}; // AAC
    b.Audio[2] = {4, 0x214, 0x314, 0, 0}; // AC3
    b.Audio[3] = {4, 0x215, 0x315, 0, 0}; // AC3
    b.Data[0].PidIn = 0x216;
    b.Data[0].PidOut = 0x316;
    SetSubtitle(b.Data[0], 1, "eng", 0x20);
    b.Data[1].PidIn = 0x217;
    b.Data[1].PidOut = 0x317; // DVB-S data without subtitles
    s.Svc.SvcInfo[1].EitSchedule = 1;

    ServicePids& c = AddService(s, 2, 303, 0x120, "Charlie", "Provider C");
    c.PcrIn = c.VideoIn = 0x220;
    c.PcrOut = c.VideoOut = 0x320;
    c.VideoType = 2; // MPEG4
    c.GenPmt = 0;
    s.Svc.SvcInfo[2].EitPresent = s.Svc.SvcInfo[2].EitSchedule = 1;

    ServicePids& d = AddService(s, 3, 404, 0x130, "Delta FM", "Radio");
    d.PcrIn = 0x230;
    d.PcrOut = 0x330;
    d.Audio[0] = {1, 0x231, 0x331, 0, 0};

    for (int k = 0; k < 3; ++k) {
        const auto base = static_cast<int16_t>(0x240 + 16 * k);
        ServicePids& e =
            AddService(s, 4 + 2 * k, static_cast<uint16_t>(505 + k), static_cast<int16_t>(0x140 + k),
                       k == 0   ? "Echo"
                       : k == 1 ? "Foxtrot"
                                : "Golf",
                       "TEN  CHARS");
        e.PcrIn = e.VideoIn = base;
        e.PcrOut = e.VideoOut = static_cast<int16_t>(base + 0x100);
        e.Audio[0] = {1, static_cast<int16_t>(base + 1), static_cast<int16_t>(base + 0x101), 0, 0};
    }
    AddGhost(s, 1, 0x500, 0x600);
    AddGhost(s, 1, 0x501, 0x601);
    AddGhost(s, 5, 0x502, 0x602);
    AddGhost(s, 8, 0x503, 0x603);
    return store;
}

// "47 40 00" -> {0x47, 0x40, 0x00}
inline std::vector<uint8_t> Hex(std::string_view text) {
    std::vector<uint8_t> bytes;
    int nibbles = 0;
    unsigned value = 0;
    for (char ch : text) {
        int digit = -1;
        if (ch >= '0' && ch <= '9') digit = ch - '0';
        if (ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
        if (ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
        if (digit < 0) continue;
        value = value * 16 + static_cast<unsigned>(digit);
        if (++nibbles == 2) {
            bytes.push_back(static_cast<uint8_t>(value));
            nibbles = 0;
            value = 0;
        }
    }
    return bytes;
}

inline std::vector<uint8_t> Vector(std::initializer_list<uint8_t> bytes) {
    return bytes;
}

template <typename Bytes>
std::vector<uint8_t> Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
            bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

} // namespace kv::test
