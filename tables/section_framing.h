#pragma once
// The parts every signalling packet shares: the packet header with its
// pointer_field, the section header up to last_section_number, the
// section_length that makes the section end with its CRC, and the
// length-counted pieces inside a section (descriptors and their loops). The
// cursor's mirror of the headers reads them back.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

#include "tables/section_io.h"

namespace kv {

inline constexpr uint8_t PsiLengthFlags = 0xB0; // PAT, PMT: syntax 1, '0', reserved '11'
inline constexpr uint8_t SiLengthFlags = 0xF0;  // NIT, SDT: syntax 1, reserved_future_use 1, reserved '11'

// Bytes 0..4: sync, start indicator and PID, payload only with counter 0, pointer_field 0.
void BeginSectionPacket(SectionWriter& w, int pid, bool unitStart = true);

// Bytes 5..12 with section_length 0 for now (SetSectionLength fills it in).
void BeginSection(SectionWriter& w, uint8_t tableId, uint8_t lengthFlags, unsigned tableIdExtension,
                  unsigned version);

// section_length for a section whose CRC starts at crcAt: the bytes after
// byte 7 up to and including the 4 CRC bytes.
void SetSectionLength(std::span<uint8_t> buffer, std::size_t crcAt);

// A descriptor: descriptor_tag, descriptor_length, then what `body` writes;
// the length counts exactly those bytes.
template <class Body> void WriteDescriptor(SectionWriter& w, uint8_t tag, Body&& body) {
    w.u8(tag);
    const std::size_t lengthAt = w.position();
    w.u8(0);
    body();
    w.setU8(lengthAt, static_cast<unsigned>(w.position() - lengthAt - 1));
}

// A 16-bit field with `flags` in its top four bits and the 12-bit length of
// what `body` writes after it (ES_info_length, descriptors_loop_length, ...).
template <class Body> void WriteLengthPrefixed(SectionWriter& w, unsigned flags, Body&& body) {
    const std::size_t lengthAt = w.position();
    w.u16(flags);
    body();
    w.setU16(lengthAt, flags | (static_cast<unsigned>(w.position() - lengthAt - 2) & 0x0FFFu));
}

// A fixed position the reader relies on: writer and reader both pass it there.
inline void ExpectAt(std::size_t position, std::size_t expected) {
    assert(position == expected);
    (void)position;
    (void)expected;
}

// Bytes 0..12 read back: what BeginSectionPacket and BeginSection wrote.
struct SectionHead {
    unsigned Sync = 0;
    int Pid = 0;
    uint8_t TableId = 0;
    unsigned Length = 0; // the 12-bit section_length
    unsigned TableIdExtension = 0;
    unsigned Version = 0;
};
SectionHead ReadSectionHead(SectionCursor& c);

} // namespace kv
