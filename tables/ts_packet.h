#pragma once
// Transport packets as the tool writes them: 188 bytes, sync byte 0x47, the
// section starting after a zero pointer_field, 0xFF stuffing after it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "wire/record_format.h"

namespace kv {

inline constexpr std::size_t PacketSize = RecordSize; // a transport packet fills one record
using Packet = std::array<uint8_t, PacketSize>;

inline constexpr uint8_t Stuffing = 0xFF;

inline constexpr int PatPid = 0x0000;
inline constexpr int NitPid = 0x0010;
inline constexpr int SdtPid = 0x0011;
inline constexpr int NullPid = 0x1FFF; // the transport stream's null packets, not the store's PidNone

inline constexpr uint8_t PatTableId = 0x00;
inline constexpr uint8_t PmtTableId = 0x02;
inline constexpr uint8_t NitTableId = 0x40; // network_information_section, actual network
inline constexpr uint8_t SdtTableId = 0x42; // service_description_section, actual transport stream

// Packet bytes before the section: 4 header bytes and the pointer_field.
inline constexpr std::size_t SectionStart = 5;
// Bytes of a continuation packet's header before its 184 payload bytes.
inline constexpr std::size_t ContinuationHeaderSize = 4;
inline constexpr std::size_t ContinuationPayload = PacketSize - ContinuationHeaderSize;

} // namespace kv
