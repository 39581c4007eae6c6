#pragma once
// Network information table: one packet on PID 0x0010 with the network name
// descriptor and an empty transport stream loop.

#include <cstddef>
#include <string>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

inline constexpr std::size_t NitNameLengthAt = 16; // network_name_descriptor length byte
inline constexpr std::size_t NitNameAt = 17;       // first name byte

// NetName as it goes on air: at most 10 characters, without leading and
// trailing blanks and control characters.
std::string NetworkNameOnAir(const ServiceBlock& sb);

Packet BuildNitPacket(const ServiceBlock& sb);

} // namespace kv
