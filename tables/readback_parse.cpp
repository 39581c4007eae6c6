#include "tables/readback_parse.h"

#include <algorithm>
#include <cstring>

#include "model/store_ops.h"
#include "tables/image_layout.h"
#include "tables/nit_builder.h"
#include "tables/pat_builder.h"
#include "tables/readback_steps.h"
#include "tables/record_io.h"
#include "tables/sdt_builder.h"
#include "tables/section_io.h"

namespace kv {
namespace {

using Bytes = std::span<const uint8_t>;

bool IsPacketOnPid(Bytes packet, unsigned pidLowByte) {
    return packet[0] == SyncByte && packet[2] == pidLowByte;
}

bool IsImageRecord(Bytes record, RecordType type) {
    return record[0] == ImageRecordMark && record[RecordTypeAt] == type;
}

// Copies 10 name bytes and keeps the field terminated.
void CopyName(const SectionReader& r, std::size_t at, char (&field)[11]) {
    for (int i = 0; i < MaxNameLength; ++i) field[i] = static_cast<char>(r.u8(at + i));
    field[MaxNameLength] = '\0';
}

// Step 3: the service count, TsId, PatVersion and the PMT PIDs. Returns N,
// 0 when the record is no PAT or announces more services than a PAT holds.
int ReadBackPat(Bytes image, ServiceBlock& sb, ReadBackResult& result) {
    const auto packet = RecordOfImage(image, PatIndex);
    if (!packet || !IsPacketOnPid(*packet, PatPid)) return 0;
    const SectionReader r(*packet);
    const int n = (static_cast<int>(r.sectionLength(SectionStart)) - 13) / 4;
    if (n < 0 || n > MaxPatServices) return 0;

    sb.TsId = static_cast<uint16_t>(r.u16(8));
    result.PatVersion = static_cast<int>((r.u8(10) & 0x3Eu) >> 1);
    InitServiceSlots(sb, n);
    // Slots that were free may hold whatever a project file carried there;
    // their language codes keep three letters but must end within the field.
    for (int i = 0; i < n; ++i)
        for (DataSlot& d : sb.SvcPids[i].Data) d.SubLang[sizeof d.SubLang - 1] = '\0';
    sb.SvcCount = static_cast<int16_t>(n);
    for (int i = 0; i < n; ++i)
        sb.SvcPmtPid[i] = static_cast<int16_t>(r.pid(PatFirstProgramAt + PatProgramEntrySize * i + 2));
    return n;
}

// Step 4: the network name, cut to the 10 characters NetName holds.
void ReadBackNit(Bytes image, ServiceBlock& sb, ReadBackResult& result) {
    const auto packet = RecordOfImage(image, NitIndex);
    if (!packet || !IsPacketOnPid(*packet, NitPid)) return;
    const SectionReader r(*packet);
    const std::size_t length = std::min<std::size_t>(r.u8(NitNameLengthAt), MaxNameLength);
    std::memset(sb.NetName, 0, sizeof sb.NetName);
    for (std::size_t i = 0; i < length; ++i) sb.NetName[i] = static_cast<char>(r.u8(NitNameAt + i));
    result.NetNameShown = sb.NetName;
}

// Step 5: the SDT section, joined again from its packets, into SvcInfo.
void ReadBackSdt(Bytes image, int n, ServiceBlock& sb) {
    const int extra = SdtExtraPackets(n);
    const auto first = RecordOfImage(image, SdtIndex);
    if (!first || !IsPacketOnPid(*first, SdtPid)) return;
    std::vector<uint8_t> section(first->begin(), first->end());
    for (int j = 1; j <= extra; ++j) {
        const auto next = RecordOfImage(image, SdtIndex + j);
        if (!next) return;
        section.insert(section.end(), next->begin() + ContinuationHeaderSize, next->end());
    }
    const SectionReader r(section);
    for (int k = 0; k < n; ++k) {
        const std::size_t e = SdtFirstServiceAt + SdtServiceEntrySize * k;
        ServiceInfo& info = sb.SvcInfo[k];
        info.ServiceId = static_cast<uint16_t>(r.u16(e));
        const unsigned flags = r.u8(e + SdtEntryEitFlagsAt);
        info.EitSchedule = (flags >> 1) & 1u;
        info.EitPresent = flags & 1u;
        CopyName(r, e + SdtEntryProviderAt, info.Provider);
        CopyName(r, e + SdtEntryNameAt, info.Name);
    }
}

// Step 7: the pacing table, into the ghost copies and, with services, the store's own.
void ReadBackHeader(Bytes image, int n, ConfigStore& store) {
    const auto record = RecordOfImage(image, HeaderIndex);
    if (!record || !IsImageRecord(*record, HeaderRecord)) return;
    const RecordReader r(*record);
    for (int slot = 0; slot < RateSlots; ++slot) {
        store.Ghost.GhostRateGaps[slot] = static_cast<int16_t>(r.u16(HeaderGapAt(slot)));
        if (n > 0) store.Svc.RateGaps[slot] = store.Ghost.GhostRateGaps[slot];
    }
    store.Ghost.GhostRateStuff = static_cast<int16_t>(r.u8(HeaderStuffAt));
    if (n > 0) store.Svc.RateStuff = store.Ghost.GhostRateStuff;
}

// Step 9: PcrAdjust of every service whose PCR is in list B.
void ReadBackPcrList(Bytes image, int n, ServiceBlock& sb) {
    const auto record = RecordOfImage(image, PcrListIndex);
    if (!record || !IsImageRecord(*record, PcrListRecord)) return;
    const RecordReader r(*record);
    const int services = std::clamp<int>(sb.SvcCount, 0, MaxServices);
    for (int j = 0; j < n && j < PcrListBSlots; ++j) {
        const unsigned entry = r.u16(PcrListBAt + 2 * j);
        const int pid = static_cast<int>(entry & 0x1FFFu);
        const uint8_t adjusted = (entry & PcrAdjustedFlag) ? 1 : 0;
        for (int i = 0; i < services; ++i)
            if (sb.SvcPids[i].PcrOut == pid) sb.SvcPids[i].PcrAdjust = adjusted;
    }
}

} // namespace

std::optional<std::span<const uint8_t>> RecordOfImage(std::span<const uint8_t> image, std::size_t index) {
    if (index >= image.size() / RecordSize) return std::nullopt;
    return image.subspan(index * RecordSize, RecordSize);
}

ReadBackResult ParseReadBack(const std::vector<uint8_t>& bytes, ConfigStore& store) {
    const Bytes image(bytes);
    ReadBackResult result;
    ServiceBlock& sb = store.Svc;

    const int n = ReadBackPat(image, sb, result);
    result.ServiceCount = n;
    ReadBackNit(image, sb, result);
    if (n > 0) {
        ReadBackSdt(image, n, sb);
        const int extra = SdtExtraPackets(n);
        for (int g = 0; g < n; ++g)
            if (const auto packet = RecordOfImage(image, PmtIndex(extra, g))) ReadBackPmt(*packet, g, sb);
    }
    ReadBackHeader(image, n, store);

    store.Ghost.GhostCount = 0;
    for (int a = 0; a < InputCount; ++a) {
        const auto record = RecordOfImage(image, PidMapIndex(a + 1));
        if (!record || !IsImageRecord(*record, PidMapRecord)) {
            result.Messages.push_back("Error in file.");
            result.BadPidMapInputs.push_back(a + 1);
            continue;
        }
        ReadBackPidMap(*record, a, store);
    }
    ReadBackPcrList(image, n, sb);
    return result;
}

} // namespace kv
