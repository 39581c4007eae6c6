#include "tables/readback_parse.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "model/bounded_text.h"
#include "tables/image_layout.h"
#include "tables/nit_table.h"
#include "tables/pat_table.h"
#include "tables/pmt_table.h"
#include "tables/rate.h"
#include "tables/readback_steps.h"
#include "tables/record_io.h"
#include "tables/sdt_table.h"

namespace kv {
namespace {

using Bytes = std::span<const uint8_t>;

bool IsImageRecord(Bytes record, RecordType type) {
    return record[0] == ImageRecordMark && record[RecordTypeAt] == type;
}

// Step 5: the SDT's packets, the first one and as many continuations as the image holds of them.
void ReadBackSdtOfImage(Bytes image, int n, ServiceBlock& sb) {
    std::vector<Bytes> packets;
    const std::size_t wanted = 1 + static_cast<std::size_t>(SdtExtraPackets(n));
    for (std::size_t j = 0; j < wanted; ++j) {
        const auto packet = RecordOfImage(image, SdtIndex + j);
        if (!packet) break;
        packets.push_back(*packet);
    }
    ReadBackSdt(packets, n, sb);
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
    // Without services the pacing table is the ghost entries' rate, kept as
    // Save keeps it.
    if (n == 0)
        store.Ghost.GhostBitRate = EffectiveBitRate(store.Ghost.GhostRateGaps, store.Ghost.GhostRateStuff);
}

// Records before the maps: the header, or none in the image of a
// configuration with neither services nor ghost entries, whose first record
// is the PID map of input 1.
std::size_t RecordsBeforeMaps(Bytes image) {
    const auto first = RecordOfImage(image, HeaderIndex);
    return first && IsImageRecord(*first, PidMapRecord) ? 0 : 1;
}

// Step 9: PcrAdjust of every service whose PCR is in list B.
void ReadBackPcrList(Bytes image, int n, ServiceBlock& sb) {
    const auto record = RecordOfImage(image, PcrListIndex + RecordsBeforeMaps(image) - 1);
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

    // Step 3: the service count, TsId, PatVersion and the PMT PIDs.
    const auto patPacket = RecordOfImage(image, PatIndex);
    const std::optional<PatReadBack> pat = patPacket ? ReadBackPat(*patPacket, sb) : std::nullopt;
    const int n = pat ? pat->ServiceCount : 0;
    if (pat) result.PatVersion = pat->Version;
    // An image without a PAT holds no services: whatever services the store
    // held before are not the device's, and no pair is matched against them.
    if (!pat) sb.SvcCount = 0;
    result.ServiceCount = n;
    // Step 4: the network name.
    if (const auto nit = RecordOfImage(image, NitIndex); nit && ReadBackNit(*nit, sb))
        result.NetNameShown = BoundedText(sb.NetName);
    if (n > 0) {
        ReadBackSdtOfImage(image, n, sb);
        // Step 6: each service's PMT.
        const int extra = SdtExtraPackets(n);
        for (int g = 0; g < n; ++g)
            if (const auto packet = RecordOfImage(image, PmtIndex(extra, g))) ReadBackPmt(*packet, g, sb);
    }
    ReadBackHeader(image, n, store);

    store.Ghost.GhostCount = 0;
    auto sources = std::make_unique<StreamSources>();
    for (int a = 0; a < InputCount; ++a) {
        const auto record = RecordOfImage(image, PidMapIndex(a + 1) + RecordsBeforeMaps(image) - 1);
        if (!record || !IsImageRecord(*record, PidMapRecord)) {
            result.Messages.push_back("Error in file.");
            result.BadPidMapInputs.push_back(a + 1);
            continue;
        }
        ReadBackPidMap(*record, a, store, *sources);
    }
    ReadBackPcrList(image, n, sb);
    return result;
}

} // namespace kv
