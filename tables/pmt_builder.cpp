#include "tables/pmt_builder.h"

#include "tables/crc32.h"
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

bool Present(int16_t pidOut) {
    return pidOut != PidNone;
}

void WriteLanguage(SectionWriter& w, const DataSlot& d) {
    for (int i = 0; i < 3; ++i) w.u8(static_cast<unsigned char>(d.SubLang[i])); // ISO_639_language_code
}

void WriteStreamEntry(SectionWriter& w, uint8_t streamType, int16_t pidOut, unsigned infoLength) {
    w.u8(streamType);            // stream_type
    w.pid(pidOut);               // reserved '111', elementary_PID
    w.u16(0xF000u | infoLength); // reserved '1111', ES_info_length
}

void WriteAudioEntry(SectionWriter& w, const AudioSlot& a) {
    const uint8_t type = AudioStreamType(a.Type);
    if (type != StreamAc3Audio) return WriteStreamEntry(w, type, a.PidOut, 0);
    WriteStreamEntry(w, type, a.PidOut, Ac3DescriptorSize);
    w.u8(Ac3Descriptor); // descriptor_tag
    w.u8(0x03);          // descriptor_length
    w.u8(0x80);          // component_type_flag 1, other flags 0
    w.u8(0x52);          // component_type
    w.u8(0x00);
}

void WriteDataEntry(SectionWriter& w, const DataSlot& d) {
    const uint8_t type = DataStreamType(d.DataType);
    const unsigned subtitleType = static_cast<unsigned>(d.SubType) & 0xFFu;
    if (d.SubEnable == 0) return WriteStreamEntry(w, type, d.PidOut, 0);
    if (type == StreamScteData) {
        WriteStreamEntry(w, type, d.PidOut, 6);
        w.u8(LanguageDescriptor); // descriptor_tag
        w.u8(0x04);               // descriptor_length
        WriteLanguage(w, d);
        w.u8(subtitleType); // audio_type
        return;
    }
    WriteStreamEntry(w, type, d.PidOut, 19);
    w.u8(StreamIdentifierDescriptor); // descriptor_tag
    w.u8(0x01);                       // descriptor_length
    w.u8(0x06);                       // component_tag
    w.u8(LanguageDescriptor);         // descriptor_tag
    w.u8(0x04);                       // descriptor_length
    WriteLanguage(w, d);
    w.u8(0x00);                 // audio_type
    w.u8(SubtitlingDescriptor); // descriptor_tag
    w.u8(0x08);                 // descriptor_length
    WriteLanguage(w, d);
    w.u8(subtitleType); // subtitling_type
    w.u16(0x0004);      // composition_page_id
    w.u16(0x0005);      // ancillary_page_id
}

} // namespace

Packet BuildPmtPacket(const ServicePids& p) {
    Packet packet;
    packet.fill(Stuffing);
    SectionWriter w(packet);
    const bool generated = p.GenPmt != 0;
    BeginSectionPacket(w, generated ? p.PmtPid : NullPid, generated);
    if (!generated) {
        SectionWriter trailer(packet, PmtPidTrailerAt);
        trailer.u16(0x4000u | (static_cast<unsigned>(p.PmtPid) & 0x1FFFu)); // start indicator, PMT PID
    }
    BeginSection(w, PmtTableId, PsiLengthFlags, p.ServiceId, 0); // program_number
    w.pid(p.PcrOut);                                             // reserved '111', PCR_PID
    w.u16(0xF00C);                                               // reserved '1111', program_info_length 12
    w.u8(SystemClockDescriptor);                                 // descriptor_tag
    w.u8(0x02);                                                  // descriptor_length
    w.u8(0x40);                      // external_clock_reference_indicator 0, clock_accuracy_integer 0
    w.u8(0x1F);                      // clock_accuracy_exponent 0
    w.u8(SmoothingBufferDescriptor); // descriptor_tag
    w.u8(0x06);                      // descriptor_length
    w.u8(0xC0);                      // reserved '11', sb_leak_rate bits 21..16
    w.u16(0x6B6C);                   // sb_leak_rate 27500
    w.u8(0xC0);                      // reserved '11', sb_size bits 21..16
    w.u16(0x0600);                   // sb_size 1536

    // Stream entries in a fixed order: video, audio 0..3, data 0..1.
    if (Present(p.VideoOut)) WriteStreamEntry(w, VideoStreamType(p.VideoType), p.VideoOut, 0);
    for (const AudioSlot& a : p.Audio)
        if (Present(a.PidOut)) WriteAudioEntry(w, a);
    for (const DataSlot& d : p.Data)
        if (Present(d.PidOut)) WriteDataEntry(w, d);

    SetSectionLength(packet, w.position());
    SectionCrc32(packet); // CRC_32
    return packet;
}

} // namespace kv
