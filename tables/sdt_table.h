#pragma once
// Service description table: one section on PID 0x0011 that may span
// several packets, one 30-byte service entry per service. Its writer and, for
// "Get", its reader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

// Byte of the buffer where service entry 0 starts, and the entry's layout.
inline constexpr std::size_t SdtFirstServiceAt = 16;
inline constexpr std::size_t SdtServiceEntrySize = 30;
inline constexpr std::size_t SdtEntryEitFlagsAt = 2;
inline constexpr std::size_t SdtEntryProviderAt = 9;
inline constexpr std::size_t SdtEntryNameAt = 20;

// Continuation packets after the first: 0 up to 5 services, then one per six
// more, counted up (24 services give 4, one of them all stuffing).
int SdtExtraPackets(int serviceCount);

// The section written contiguously from byte 5 of a 0xFF-filled buffer of
// 188 x (1 + SdtExtraPackets) bytes, not yet cut into packets.
// version_number as the PAT's.
std::vector<uint8_t> BuildSdtSection(const ServiceBlock& sb, int version = 0);

// The first 188 buffer bytes as they are, then each further 184 bytes behind
// the continuation header 47 00 11 10.
std::vector<Packet> PacketiseSdt(std::span<const uint8_t> sdtBuffer);

// The first n service entries read back into SvcInfo from the SDT's packets
// in image order (the first one and its SdtExtraPackets(n) continuations).
// Nothing changes when the first packet is no SDT or a continuation is missing.
void ReadBackSdt(std::span<const std::span<const uint8_t>> packets, int n, ServiceBlock& sb);

} // namespace kv
