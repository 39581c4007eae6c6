#pragma once
// The parts every signalling packet shares: the packet header with its
// pointer_field, the section header up to last_section_number, and the
// section_length that makes the section end with its CRC.

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

} // namespace kv
