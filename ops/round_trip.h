#pragma once
// The round trip of "Send Mux" and "Get": the image built from a store, read
// back as "Get" reads it, gives the multiplex that was sent. What an image
// cannot carry is named here, and only here.

#include "model/config_store.h"
#include "ops/multiplex_diff.h"

namespace kv {

// Sets aside what no image carries: an image of ghost entries only has no
// PAT and no NIT, so no transport stream ID and no network name; a service
// without any stream has no pair in a PID map, so no input.
void SetAsideWhatNoImageCarries(ConfigStore& store);

// The differences between `sent` (the store after "Send Mux"'s own steps)
// and the store "Get" rebuilds from its image, as `diff` reports them, with
// what no image carries set aside. Empty for every store the multiplex check
// passes without errors.
MultiplexDiff RoundTripDiff(const ConfigStore& sent, int patVersion);

} // namespace kv
