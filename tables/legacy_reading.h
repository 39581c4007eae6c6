#pragma once
// How "Get" has always read the device's signalling packets back. These
// habits depart from the packets' own fields; they stay as they are so that
// an image read back gives the store it always gave. Every such habit of the
// readers is named here.

#include <cstddef>
#include <cstdint>
#include <span>

#include "wire/record_format.h"

namespace kv::legacy {

// A packet counts as being on `pid` when it starts with the sync byte and
// the low byte of its PID matches; the PID's high five bits are not looked at.
inline bool IsPacketOnPid(std::span<const uint8_t> packet, int pid) {
    return packet.size() > 2 && packet[0] == SyncByte && packet[2] == (static_cast<unsigned>(pid) & 0xFFu);
}

// PMT: of section_length and of a data entry's ES_info_length only the low
// byte is read, as a signed byte. A section of more than 127 bytes therefore
// has no stream loop at all.
inline int SignedLengthByte(unsigned length) {
    return static_cast<int8_t>(static_cast<uint8_t>(length));
}

// PMT: the stream loop runs while its offset stays below section_length less
// the bytes the tool writes beside the loop (the 5 header bytes after
// section_length, PCR_PID, program_info_length, the 12 bytes of programme
// descriptors and the CRC); program_info_length itself is not read.
inline constexpr int PmtBytesBesideLoop = 25;
inline constexpr std::size_t PmtProgramDescriptorBytes = 12;

// PMT: after a video or audio entry the descriptors are passed over by what
// the tool writes for its stream type (nothing, or the AC-3 descriptor),
// not by ES_info_length; an entry no free slot takes passes over nothing.
// The subtitle language and type of a data entry are taken at the positions
// the tool writes them, whatever descriptors the entry really carries.
//
// PMT: program_number becomes the service ID even when the packet turns out
// not to be the service's PMT.
//
// SDT: provider and service names are always 10 bytes, whatever their
// length bytes say; the descriptor's tag and lengths are not read.
inline constexpr std::size_t SdtNameBytes = 10;

// NIT: the name's length byte is read where the tool writes it (capped at
// the 10 characters NetName holds); the loop length and tag are not read.

} // namespace kv::legacy
