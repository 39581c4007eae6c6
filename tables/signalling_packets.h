#pragma once
// The signalling packets of the output in image order: PAT, NIT, the SDT
// packets and one PMT per service.

#include <vector>

#include "model/config_store.h"
#include "tables/ts_packet.h"

namespace kv {

// Empty when the store holds no services.
std::vector<Packet> SignallingPackets(const ConfigStore& store, int patVersion);

} // namespace kv
