// Step 6 of the read-back: a PMT packet back into its service's SvcPids entry.
#include <cstring>

#include "tables/pmt_builder.h"
#include "tables/readback_steps.h"
#include "tables/section_io.h"
#include "tables/stream_types.h"

namespace kv {
namespace {

// Lengths and ES_info_length bytes are taken as signed bytes, as the device tool did.
int SignedByte(unsigned value) {
    return static_cast<int8_t>(static_cast<uint8_t>(value));
}

template <typename Slot, std::size_t N> Slot* FirstFreeSlot(Slot (&slots)[N]) {
    for (Slot& slot : slots)
        if (slot.Taken == 0) return &slot;
    return nullptr;
}

void ReadSubtitle(const SectionReader& r, std::size_t entry, std::size_t languageAt, std::size_t typeAt,
                  DataSlot& d) {
    for (std::size_t i = 0; i < 3; ++i) d.SubLang[i] = static_cast<char>(r.u8(entry + languageAt + i));
    d.SubLang[3] = '\0';
    d.SubType = static_cast<int32_t>(r.u8(entry + typeAt));
}

// Takes one stream entry apart; returns the descriptor bytes to skip beyond
// the 5 entry bytes.
int ReadStreamEntry(const SectionReader& r, std::size_t entry, ServicePids& p) {
    const auto streamType = static_cast<uint8_t>(r.u8(entry));
    const auto pid = static_cast<int16_t>(r.pid(entry + 1));
    if (auto videoType = VideoTypeOf(streamType)) {
        p.VideoOut = pid;
        p.VideoType = *videoType;
        return 0;
    }
    if (auto audioType = AudioTypeOf(streamType)) {
        AudioSlot* a = FirstFreeSlot(p.Audio);
        if (a == nullptr) return 0;
        a->Taken = 1;
        a->PidOut = pid;
        a->Type = *audioType;
        return streamType == StreamAc3Audio ? static_cast<int>(Ac3DescriptorSize) : 0;
    }
    if (auto dataType = DataTypeOf(streamType)) {
        DataSlot* d = FirstFreeSlot(p.Data);
        if (d == nullptr) return 0;
        d->Taken = 1;
        d->PidOut = pid;
        d->DataType = *dataType;
        const int infoLength = SignedByte(r.u8(entry + StreamEntryInfoLengthAt));
        // A data stream read back without descriptors carries no subtitles,
        // whatever the slot held before.
        d->SubEnable = infoLength > 0 ? 1 : 0;
        if (infoLength <= 0) return 0;
        if (streamType == StreamPrivateData)
            ReadSubtitle(r, entry, DvbSubtitleLanguageAt, DvbSubtitleTypeAt, *d);
        else
            ReadSubtitle(r, entry, ScteLanguageAt, ScteTypeAt, *d);
        return infoLength;
    }
    return 0;
}

} // namespace

void ReadBackPmt(std::span<const uint8_t> packet, int g, ServiceBlock& sb) {
    ServicePids& p = sb.SvcPids[g];
    for (AudioSlot& a : p.Audio) a.Taken = 0;
    for (DataSlot& d : p.Data) d.Taken = 0;

    const SectionReader r(packet);
    int pid = r.pid(1);
    uint8_t generate = 1;
    if (pid == PidNone) {
        pid = r.pid(PmtPidTrailerAt);
        generate = 0;
    }
    p.ServiceId = static_cast<uint16_t>(r.u16(8)); // program_number, taken even when the checks fail
    if (r.u8(0) != SyncByte || sb.SvcPmtPid[g] != pid) return;

    p.GenPmt = generate;
    p.PmtPid = static_cast<int16_t>(pid);
    p.PcrOut = static_cast<int16_t>(r.pid(PmtPcrPidAt));
    const int sectionLength = SignedByte(r.u8(7));
    // The loop ends where the section's fixed 25 bytes (header, programme
    // descriptors, CRC) leave no further entry; a signed length ends it early.
    for (int at = 0; at < sectionLength - 25; at += static_cast<int>(StreamEntryHeaderSize))
        at += ReadStreamEntry(r, PmtStreamLoopAt + static_cast<std::size_t>(at), p);
}

} // namespace kv
