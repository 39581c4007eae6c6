#pragma once
// The configuration store: the two packed records that describe the output
// multiplex. Their byte image is the project file, so every size and field
// offset is pinned below.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace kv {

static_assert(std::endian::native == std::endian::little,
              "the records are the little-endian byte image of the project file");

inline constexpr int16_t PidNone = 8191;      // a store PID field holding no stream; not the null PID
inline constexpr int MaxServices = 100;       // service slots of SvcInfo and SvcPids
inline constexpr int ServiceTableSlots = 171; // slots of SvcInput and SvcPmtPid
inline constexpr int MaxGhosts = 352;         // ghost slots (8 inputs x 44)
inline constexpr int InputCount = 8;          // ASI inputs 1..8
inline constexpr int PidsPerInput = 44;       // output PIDs one input may carry
inline constexpr int MaxNameLength = 10;      // service, provider and network names
inline constexpr int AudioSlots = 4;
inline constexpr int DataSlots = 2;
inline constexpr int RateSlots = 10;

// A store PID field holds 0..8190, or PidNone for no stream. A project file
// may hold anything in its 16 bits: such a value is never written into an image.
inline constexpr bool PidInRange(int pid) {
    return pid >= 0 && pid <= PidNone;
}
// The 13 bits an image carries for a store PID: one out of range goes as 8191.
inline constexpr unsigned CarriedPid(int pid) {
    return static_cast<unsigned>(PidInRange(pid) ? pid : PidNone);
}

#pragma pack(push, 1)

struct ServiceInfo {
    uint16_t ServiceId;
    uint8_t EitPresent;
    uint8_t EitSchedule;
    char Name[11];
    char Provider[11];
};

struct AudioSlot {
    int16_t Type; // 0 MPEG1, 1 MPEG2, 2 HEAAC, 3 AAC, 4 AC3
    int16_t PidIn;
    int16_t PidOut;
    uint8_t Taken; // work flag of the device read-back
    uint8_t Reserved;
};

struct DataSlot {
    int16_t DataType; // 0 DVB-S / ETS (stream_type 0x06), 1 DVB-C / SCTE (0x82)
    int16_t PidIn;
    int16_t PidOut;
    uint8_t Taken;
    uint8_t SubEnable;
    char SubLang[4];
    int32_t SubType;
};

struct ServicePids {
    int16_t PmtPid;
    uint16_t ServiceId;
    int16_t PcrIn;
    int16_t PcrOut;
    AudioSlot Audio[AudioSlots];
    int16_t VideoIn;
    int16_t VideoOut;
    int16_t VideoType; // 0 MPEG2, 1 H.264, 2 MPEG4
    uint8_t Reserved1[2];
    DataSlot Data[DataSlots];
    uint8_t PcrAdjust;
    uint8_t GenPmt;
    uint8_t Reserved2[2];
};

struct ServiceBlock {
    int16_t SvcInput[ServiceTableSlots];
    int16_t SvcCount;
    uint16_t TsId;
    int16_t SvcPmtPid[ServiceTableSlots];
    ServiceInfo SvcInfo[MaxServices];
    char NetName[12];
    int16_t RateGaps[RateSlots];
    int16_t RateStuff;
    uint8_t Reserved[6];
    int64_t BitRate;
    ServicePids SvcPids[MaxServices];
};

struct GhostBlock {
    int16_t GhostPidIn[MaxGhosts];
    int16_t GhostPidOut[MaxGhosts];
    int16_t GhostInput[MaxGhosts];
    int16_t GhostCount;
    int16_t GhostRateGaps[RateSlots];
    int16_t GhostRateStuff;
    int64_t GhostBitRate;
};

// The whole persistent store: ServiceBlock followed by GhostBlock, exactly the
// bytes of a project file.
struct ConfigStore {
    ServiceBlock Svc;
    GhostBlock Ghost;
};

#pragma pack(pop)

static_assert(sizeof(ServiceInfo) == 26);
static_assert(offsetof(ServiceInfo, ServiceId) == 0);
static_assert(offsetof(ServiceInfo, EitPresent) == 2);
static_assert(offsetof(ServiceInfo, EitSchedule) == 3);
static_assert(offsetof(ServiceInfo, Name) == 4);
static_assert(offsetof(ServiceInfo, Provider) == 15);

static_assert(sizeof(AudioSlot) == 8);
static_assert(offsetof(AudioSlot, Type) == 0);
static_assert(offsetof(AudioSlot, PidIn) == 2);
static_assert(offsetof(AudioSlot, PidOut) == 4);
static_assert(offsetof(AudioSlot, Taken) == 6);

static_assert(sizeof(DataSlot) == 16);
static_assert(offsetof(DataSlot, DataType) == 0);
static_assert(offsetof(DataSlot, PidIn) == 2);
static_assert(offsetof(DataSlot, PidOut) == 4);
static_assert(offsetof(DataSlot, Taken) == 6);
static_assert(offsetof(DataSlot, SubEnable) == 7);
static_assert(offsetof(DataSlot, SubLang) == 8);
static_assert(offsetof(DataSlot, SubType) == 12);

static_assert(sizeof(ServicePids) == 84);
static_assert(offsetof(ServicePids, PmtPid) == 0);
static_assert(offsetof(ServicePids, ServiceId) == 2);
static_assert(offsetof(ServicePids, PcrIn) == 4);
static_assert(offsetof(ServicePids, PcrOut) == 6);
static_assert(offsetof(ServicePids, Audio) == 8);
static_assert(offsetof(ServicePids, VideoIn) == 40);
static_assert(offsetof(ServicePids, VideoOut) == 42);
static_assert(offsetof(ServicePids, VideoType) == 44);
static_assert(offsetof(ServicePids, Data) == 48);
static_assert(offsetof(ServicePids, PcrAdjust) == 80);
static_assert(offsetof(ServicePids, GenPmt) == 81);

static_assert(sizeof(ServiceBlock) == 11736);
static_assert(offsetof(ServiceBlock, SvcInput) == 0);
static_assert(offsetof(ServiceBlock, SvcCount) == 342);
static_assert(offsetof(ServiceBlock, TsId) == 344);
static_assert(offsetof(ServiceBlock, SvcPmtPid) == 346);
static_assert(offsetof(ServiceBlock, SvcInfo) == 688);
static_assert(offsetof(ServiceBlock, NetName) == 3288);
static_assert(offsetof(ServiceBlock, RateGaps) == 3300);
static_assert(offsetof(ServiceBlock, RateStuff) == 3320);
static_assert(offsetof(ServiceBlock, Reserved) == 3322);
static_assert(offsetof(ServiceBlock, BitRate) == 3328);
static_assert(offsetof(ServiceBlock, SvcPids) == 3336);

static_assert(sizeof(GhostBlock) == 2144);
static_assert(offsetof(GhostBlock, GhostPidIn) == 0);
static_assert(offsetof(GhostBlock, GhostPidOut) == 704);
static_assert(offsetof(GhostBlock, GhostInput) == 1408);
static_assert(offsetof(GhostBlock, GhostCount) == 2112);
static_assert(offsetof(GhostBlock, GhostRateGaps) == 2114);
static_assert(offsetof(GhostBlock, GhostRateStuff) == 2134);
static_assert(offsetof(GhostBlock, GhostBitRate) == 2136);

inline constexpr std::size_t ProjectFileSize = sizeof(ConfigStore);
static_assert(ProjectFileSize == 13880);
static_assert(offsetof(ConfigStore, Ghost) == 11736);

// The rate figures in force: the ServiceBlock fields when services exist,
// the GhostBlock copies for a description that has ghost entries only.
inline bool UsesGhostRate(const ConfigStore& s) {
    return s.Svc.SvcCount <= 0 && s.Ghost.GhostCount > 0;
}
inline const int16_t* ActiveRateGaps(const ConfigStore& s) {
    return UsesGhostRate(s) ? s.Ghost.GhostRateGaps : s.Svc.RateGaps;
}
inline int16_t ActiveRateStuff(const ConfigStore& s) {
    return UsesGhostRate(s) ? s.Ghost.GhostRateStuff : s.Svc.RateStuff;
}
inline int64_t ActiveBitRate(const ConfigStore& s) {
    return UsesGhostRate(s) ? s.Ghost.GhostBitRate : s.Svc.BitRate;
}

} // namespace kv
