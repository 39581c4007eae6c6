#include "tables/pmt_table.h"

#include <optional>

#include "model/service_streams.h"
#include "tables/crc32.h"
#include "tables/legacy_reading.h"
#include "tables/section_framing.h"
#include "tables/stream_types.h"

namespace kv {
namespace {

constexpr uint8_t SystemClockDescriptor = 0x0B;
constexpr uint8_t SmoothingBufferDescriptor = 0x10;
constexpr uint8_t LanguageDescriptor = 0x0A;
constexpr uint8_t StreamIdentifierDescriptor = 0x52;
constexpr uint8_t SubtitlingDescriptor = 0x59;
constexpr uint8_t Ac3Descriptor = 0x6A;

constexpr std::size_t LanguageCodeBytes = 3;
static_assert(DvbSubtitleTypeAt == DvbSubtitleLanguageAt + LanguageCodeBytes);
static_assert(ScteTypeAt == ScteLanguageAt + LanguageCodeBytes);
static_assert(PmtStreamLoopAt == PmtPcrPidAt + 4 + legacy::PmtProgramDescriptorBytes);
// section_length counts from byte 8 to the end of the CRC.
static_assert(legacy::PmtBytesBesideLoop == static_cast<int>(PmtStreamLoopAt - 8 + 4));

void WriteLanguage(SectionWriter& w, const DataSlot& d) {
    for (std::size_t i = 0; i < LanguageCodeBytes; ++i)
        w.u8(static_cast<unsigned char>(d.SubLang[i])); // ISO_639_language_code
}

// stream_type, reserved '111', elementary_PID, reserved '1111', then the
// ES_info_length of the descriptors `descriptors` writes.
template <class Body>
void WriteStreamEntry(SectionWriter& w, uint8_t streamType, int16_t pidOut, Body&& descriptors) {
    w.u8(streamType);
    w.pid(pidOut);
    WriteLengthPrefixed(w, 0xF000u, descriptors);
}

void WriteAudioEntry(SectionWriter& w, const AudioSlot& a) {
    const uint8_t type = AudioStreamType(a.Type);
    const std::size_t entry = w.position();
    WriteStreamEntry(w, type, a.PidOut, [&] {
        if (type != StreamAc3Audio) return;
        WriteDescriptor(w, Ac3Descriptor, [&] {
            w.u8(0x80); // component_type_flag 1, other flags 0
            w.u8(0x52); // component_type
            w.u8(0x00);
        });
        ExpectAt(w.position() - entry, StreamEntryHeaderSize + Ac3DescriptorSize);
    });
}

void WriteDataEntry(SectionWriter& w, const DataSlot& d) {
    const uint8_t type = DataStreamType(d.DataType);
    const unsigned subtitleType = static_cast<unsigned>(d.SubType) & 0xFFu;
    const std::size_t entry = w.position();
    WriteStreamEntry(w, type, d.PidOut, [&] {
        if (d.SubEnable == 0) return;
        if (type == StreamScteData) {
            WriteDescriptor(w, LanguageDescriptor, [&] {
                ExpectAt(w.position() - entry, ScteLanguageAt);
                WriteLanguage(w, d);
                w.u8(subtitleType); // audio_type
            });
            return;
        }
        WriteDescriptor(w, StreamIdentifierDescriptor, [&] { w.u8(0x06); }); // component_tag
        WriteDescriptor(w, LanguageDescriptor, [&] {
            WriteLanguage(w, d);
            w.u8(0x00); // audio_type
        });
        WriteDescriptor(w, SubtitlingDescriptor, [&] {
            ExpectAt(w.position() - entry, DvbSubtitleLanguageAt);
            WriteLanguage(w, d);
            w.u8(subtitleType); // subtitling_type
            w.u16(0x0004);      // composition_page_id
            w.u16(0x0005);      // ancillary_page_id
        });
    });
}

// The Taken mark of an audio or data slot; PCR and video have none.
uint8_t* TakenMark(ServicePids& p, const StreamRef& s) {
    if (s.Kind == StreamKind::Audio) return &p.Audio[s.Slot].Taken;
    if (s.Kind == StreamKind::Data) return &p.Data[s.Slot].Taken;
    return nullptr;
}

// The first slot of `kind` not yet taken by an entry of this PMT, now taken.
std::optional<StreamRef> TakeFreeSlot(ServicePids& p, StreamKind kind) {
    for (const StreamRef& s : StreamsOf(p)) {
        uint8_t* taken = TakenMark(p, s);
        if (s.Kind != kind || taken == nullptr || *taken != 0) continue;
        *taken = 1;
        return s;
    }
    return std::nullopt;
}

void ReadSubtitle(SectionCursor& c, std::size_t languageAt, DataSlot& d) {
    c.seek(languageAt);
    for (std::size_t i = 0; i < LanguageCodeBytes; ++i) d.SubLang[i] = static_cast<char>(c.u8());
    d.SubLang[LanguageCodeBytes] = '\0';
    d.SubType = static_cast<int32_t>(c.u8());
}

// Takes the stream entry at the cursor apart; returns the descriptor bytes
// to pass over after its 5 entry bytes.
int ReadStreamEntry(SectionCursor& c, ServicePids& p) {
    const std::size_t entry = c.position();
    const auto streamType = static_cast<uint8_t>(c.u8());
    const auto pid = static_cast<int16_t>(c.pid());
    const int infoLength = legacy::SignedLengthByte(c.u16());
    if (auto videoType = VideoTypeOf(streamType)) {
        p.VideoOut = pid;
        p.VideoType = *videoType;
        return 0;
    }
    if (auto audioType = AudioTypeOf(streamType)) {
        const std::optional<StreamRef> a = TakeFreeSlot(p, StreamKind::Audio);
        if (!a) return 0;
        a->PidOut = pid;
        *a->Type = *audioType;
        return streamType == StreamAc3Audio ? static_cast<int>(Ac3DescriptorSize) : 0;
    }
    if (auto dataType = DataTypeOf(streamType)) {
        const std::optional<StreamRef> slot = TakeFreeSlot(p, StreamKind::Data);
        if (!slot) return 0;
        DataSlot& d = p.Data[slot->Slot];
        d.PidOut = pid;
        d.DataType = *dataType;
        // A data stream read back without descriptors carries no subtitles,
        // whatever the slot held before.
        d.SubEnable = infoLength > 0 ? 1 : 0;
        if (infoLength <= 0) return 0;
        ReadSubtitle(c, entry + (streamType == StreamPrivateData ? DvbSubtitleLanguageAt : ScteLanguageAt),
                     d);
        return infoLength;
    }
    return 0;
}

} // namespace

Packet BuildPmtPacket(const ServicePids& p, int version) {
    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    const bool generated = p.GenPmt != 0;
    BeginSectionPacket(w, generated ? p.PmtPid : NullPid, generated);
    if (!generated) {
        SectionWriter trailer(packet, PmtPidTrailerAt);
        trailer.u16(0x4000u | CarriedPid(p.PmtPid)); // start indicator, PMT PID
    }
    BeginSection(w, PmtTableId, PsiLengthFlags, p.ServiceId,
                 static_cast<unsigned>(version)); // program_number
    ExpectAt(w.position(), PmtPcrPidAt);
    w.pid(p.PcrOut);                      // reserved '111', PCR_PID
    WriteLengthPrefixed(w, 0xF000u, [&] { // reserved '1111', program_info_length
        WriteDescriptor(w, SystemClockDescriptor, [&] {
            w.u8(0x40); // external_clock_reference_indicator 0, clock_accuracy_integer 0
            w.u8(0x1F); // clock_accuracy_exponent 0
        });
        WriteDescriptor(w, SmoothingBufferDescriptor, [&] {
            w.u8(0xC0);    // reserved '11', sb_leak_rate bits 21..16
            w.u16(0x6B6C); // sb_leak_rate 27500
            w.u8(0xC0);    // reserved '11', sb_size bits 21..16
            w.u16(0x0600); // sb_size 1536
        });
    });
    ExpectAt(w.position(), PmtStreamLoopAt);

    // Stream entries in the order of the service's streams: video, audio 0..3,
    // data 0..1 (the PCR has its PCR_PID above).
    for (const ConstStreamRef& s : StreamsOf(p)) {
        if (!HasStream(s)) continue;
        switch (s.Kind) {
        case StreamKind::Pcr:
            break;
        case StreamKind::Video:
            WriteStreamEntry(w, VideoStreamType(*s.Type), s.PidOut, [] {});
            break;
        case StreamKind::Audio:
            WriteAudioEntry(w, p.Audio[s.Slot]);
            break;
        case StreamKind::Data:
            WriteDataEntry(w, p.Data[s.Slot]);
            break;
        }
    }

    SetSectionLength(packet, w.position());
    SectionCrc32(packet); // CRC_32
    return packet;
}

void ReadBackPmt(std::span<const uint8_t> packet, int g, ServiceBlock& sb) {
    ServicePids& p = sb.SvcPids[g];
    for (const StreamRef& s : StreamsOf(p))
        if (uint8_t* taken = TakenMark(p, s)) *taken = 0;

    SectionCursor c(packet);
    const SectionHead head = ReadSectionHead(c);
    int pid = head.Pid;
    uint8_t generate = 1;
    if (pid == NullPid) {
        pid = SectionCursor(packet, PmtPidTrailerAt).pid();
        generate = 0;
    }
    p.ServiceId = static_cast<uint16_t>(head.TableIdExtension); // program_number, see legacy_reading.h
    if (head.Sync != SyncByte || sb.SvcPmtPid[g] != pid) return;

    p.GenPmt = generate;
    p.PmtPid = static_cast<int16_t>(pid);
    ExpectAt(c.position(), PmtPcrPidAt);
    p.PcrOut = static_cast<int16_t>(c.pid());
    c.skip(2 + legacy::PmtProgramDescriptorBytes); // program_info_length, programme descriptors
    const std::size_t loopAt = c.position();
    ExpectAt(loopAt, PmtStreamLoopAt);
    const int loopEnd = legacy::SignedLengthByte(head.Length) - legacy::PmtBytesBesideLoop;
    while (!c.overrun() && static_cast<int>(c.position() - loopAt) < loopEnd) {
        const std::size_t entry = c.position();
        const int descriptors = ReadStreamEntry(c, p);
        c.seek(entry + StreamEntryHeaderSize + static_cast<std::size_t>(descriptors));
    }
}

} // namespace kv
