#pragma once
// Network information table: one packet on PID 0x0010 with the network name
// descriptor and an empty transport stream loop. Its writer and, for "Get",
// its reader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

inline constexpr std::size_t NitNameLengthAt = 16; // network_name_descriptor length byte
inline constexpr std::size_t NitNameAt = 17;       // first name byte

// NetName as it goes on air: at most 10 characters, without leading and
// trailing blanks and control characters.
std::string NetworkNameOnAir(const ServiceBlock& sb);

// version_number follows the PAT's: a receiver takes a changed table only
// when its version changes.
Packet BuildNitPacket(const ServiceBlock& sb, int version = 0);

// The network name read back into NetName, cut to the 10 characters it
// holds. False, NetName untouched, when the packet is no NIT.
bool ReadBackNit(std::span<const uint8_t> packet, ServiceBlock& sb);

} // namespace kv
