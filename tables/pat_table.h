#pragma once
// Program association table: one packet on PID 0x0000 listing the network
// PID and the PMT PID of every service. Its writer and, for "Get", its reader.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

// A PAT packet holds 41 program entries (section_length 177, CRC in bytes 181..184).
inline constexpr int MaxPatServices = 41;
// Packet byte of the first service's program entry (program_number, then PMT PID).
inline constexpr std::size_t PatFirstProgramAt = 17;
inline constexpr std::size_t PatProgramEntrySize = 4;

// The PAT of the store's services in store order, version patVersion (0..31).
// Services beyond the 41 that fit are left out rather than written past the packet.
Packet BuildPatPacket(const ServiceBlock& sb, int patVersion);

struct PatReadBack {
    int ServiceCount = 0;
    int Version = 0;
};

// The PAT read back into TsId, fresh service slots and their PMT PIDs.
// Nothing when the packet is no PAT or announces more services than a PAT holds.
std::optional<PatReadBack> ReadBackPat(std::span<const uint8_t> packet, ServiceBlock& sb);

} // namespace kv
