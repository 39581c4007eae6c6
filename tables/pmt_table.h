#pragma once
// Program map table: one packet per service with the PCR PID, the system
// clock and smoothing buffer descriptors and one entry per present stream.
// Its writer and, for "Get", its reader.

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

inline constexpr std::size_t PmtPcrPidAt = 13;
inline constexpr std::size_t PmtStreamLoopAt = 29;
// With GenPmt 0 the packet goes out on the null PID and its last two bytes
// carry the PMT PID with the start indicator.
inline constexpr std::size_t PmtPidTrailerAt = PacketSize - 2;

// A stream entry: stream_type, PID, ES_info_length (5 bytes), then descriptors.
inline constexpr std::size_t StreamEntryHeaderSize = 5;
inline constexpr std::size_t Ac3DescriptorSize = 5;
// Where the subtitle language and type sit within a data entry.
inline constexpr std::size_t DvbSubtitleLanguageAt = 16; // in the subtitling_descriptor
inline constexpr std::size_t DvbSubtitleTypeAt = 19;
inline constexpr std::size_t ScteLanguageAt = 7; // in the ISO_639_language_descriptor
inline constexpr std::size_t ScteTypeAt = 10;

// The PMT of one service, each stream entered only when its output PID is not 8191.
// version_number as the PAT's.
Packet BuildPmtPacket(const ServicePids& p, int version = 0);

// The PMT of service g read back into its SvcPids entry: output PIDs, stream
// types, subtitle settings, GenPmt. Only a packet on the PMT PID the PAT gave
// the service counts.
void ReadBackPmt(std::span<const uint8_t> packet, int g, ServiceBlock& sb);

} // namespace kv
