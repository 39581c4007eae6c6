#include "cli/show_image.h"

#include <span>
#include <string>

#include "cli/show_sections.h"
#include "model/config_store.h"
#include "tables/image_layout.h"
#include "tables/rate.h"
#include "tables/record_io.h"
#include "tables/section_io.h"
#include "tables/ts_packet.h"

namespace kv::cli {
namespace {

using nlohmann::json;
using Bytes = std::span<const uint8_t>;

json HeaderToJson(const RecordReader& r) {
    int16_t gaps[RateSlots];
    json slots = json::array();
    for (int slot = 0; slot < RateSlots; ++slot) {
        gaps[slot] = static_cast<int16_t>(r.u16(HeaderGapAt(slot)));
        slots.push_back(gaps[slot]);
    }
    const auto stuff = static_cast<int16_t>(r.u8(HeaderStuffAt));
    const uint32_t lengthField = r.u16(HeaderLengthAt) | (r.u8(HeaderLengthAt + 2) << 16);
    return {{"record", "header"},
            {"image_length", lengthField - HeaderLengthTag},
            {"RateGaps", slots},
            {"RateStuff", stuff},
            {"EffectiveBitRate", EffectiveBitRate(gaps, stuff)}};
}

json PidMapToJson(const RecordReader& r) {
    const unsigned input = r.u8(PidMapInputAt);
    if (input == ReservedMapInput) {
        bool zero = true;
        for (std::size_t at = RecordTypeAt + 1; at < RecordSize; ++at)
            zero &= at == PidMapInputAt || r.u8(at) == 0;
        return {{"record", "reserved PID map"}, {"all_zero", zero}};
    }
    json pairs = json::array();
    for (int k = 0; k < PidMapPairs; ++k) {
        const int out = r.pid(PidMapPairAt(k) + 2);
        if (out == PidNone) break; // end of the used pairs
        pairs.push_back({{"in", r.pid(PidMapPairAt(k))}, {"out", out}});
    }
    return {{"record", "PID map"}, {"input", input + 1}, {"pairs", pairs}};
}

json PcrListToJson(const RecordReader& r) {
    json listA = json::array();
    for (int slot = 0; slot < PcrListASlots; ++slot) {
        const int pid = r.pid(PcrListAAt + 2 * slot);
        if (pid != PidNone) listA.push_back(pid);
    }
    json listB = json::array();
    for (int j = 0; j < PcrListBSlots; ++j) {
        const unsigned entry = r.u16(PcrListBAt + 2 * j);
        if (entry == 0) break; // bytes after the last entry are 0
        listB.push_back({{"PID", entry & 0x1FFFu}, {"adjusted", (entry & PcrAdjustedFlag) != 0}});
    }
    return {{"record", "PCR list"}, {"list_A", listA}, {"list_B", listB}};
}

// The section a packet starts, joined with the continuation packets on its
// PID that follow it in the image.
std::vector<uint8_t> SectionFrom(Bytes image, std::size_t index, int pid) {
    const std::size_t records = image.size() / RecordSize;
    Bytes first = image.subspan(index * RecordSize, RecordSize);
    std::vector<uint8_t> section(first.begin() + SectionStart, first.end());
    const std::size_t wanted = 3 + SectionReader(section).sectionLength(0);
    for (std::size_t next = index + 1; next < records && section.size() < wanted; ++next) {
        Bytes packet = image.subspan(next * RecordSize, RecordSize);
        const SectionReader r(packet);
        if (r.u8(0) != SyncByte || (r.u8(1) & 0x40u) || r.pid(1) != pid) break;
        section.insert(section.end(), packet.begin() + ContinuationHeaderSize, packet.end());
    }
    return section;
}

json PacketToJson(Bytes image, std::size_t index) {
    const SectionReader r(image.subspan(index * RecordSize, RecordSize));
    const int pid = r.pid(1);
    const bool unitStart = (r.u8(1) & 0x40u) != 0;
    json packet = {{"record", "packet"}, {"PID", pid}, {"continuity_counter", r.u8(3) & 0x0Fu}};
    if (pid == NullPid && r.u8(SectionStart) == PmtTableId) {
        // A PMT that the device does not generate: its PID sits in the last two bytes.
        packet["PMT_PID_at_end"] = r.pid(PacketSize - 2);
        packet["section"] = SectionToJson(SectionFrom(image, index, pid));
    } else if (unitStart) {
        packet["section"] = SectionToJson(SectionFrom(image, index, pid));
    } else {
        packet["continuation"] = true;
    }
    return packet;
}

} // namespace

bool LooksLikeImage(const std::vector<uint8_t>& bytes) {
    return !bytes.empty() && bytes.size() % RecordSize == 0 && bytes[0] == ImageRecordMark;
}

json ImageToJson(const std::vector<uint8_t>& bytes) {
    const Bytes image(bytes);
    json records = json::array();
    for (std::size_t index = 0; index < image.size() / RecordSize; ++index) {
        const Bytes bytesOfRecord = image.subspan(index * RecordSize, RecordSize);
        const RecordReader r(bytesOfRecord);
        json record;
        if (r.u8(0) == SyncByte) {
            record = PacketToJson(image, index);
        } else if (r.u8(0) != ImageRecordMark) {
            record = {{"record", "unknown"}};
        } else {
            switch (r.u8(RecordTypeAt)) {
            case HeaderRecord:
                record = HeaderToJson(r);
                break;
            case PidMapRecord:
                record = PidMapToJson(r);
                break;
            case PcrListRecord:
                record = PcrListToJson(r);
                break;
            default:
                record = {{"record", "unknown image record"}};
                break;
            }
            record["type"] = r.u8(RecordTypeAt);
        }
        record["index"] = index;
        records.push_back(record);
    }
    return {{"image_size", image.size()}, {"records", records}};
}

} // namespace kv::cli
