#pragma once
// The editors' refusal of an output PID that is already taken: the service
// editor's Ok and the ghost editor's Add refuse an entry that would put two
// sources on one output PID, or a stream on a table the tool generates,
// before anything is stored.

#include <optional>
#include <string>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "model/service_streams.h"
#include "ops/ghost_rows.h"
#include "ops/service_entry.h"

namespace kv {

// The service editor's PMT box, beside the output boxes 0..7 (StreamIndex).
inline constexpr int PmtBox = -1;

struct PidRefusal {
    int Box = PmtBox;    // the box that gets the focus
    std::string Message; // "Output PID 512 is already used by NEWS (video)."
};

// The first of the service's PMT and output PIDs (in that order) that clashes
// with another use of the configuration; `withEntry` holds the entry in
// `slot` already. PIDs are shown in `radix` as the boxes show them.
std::optional<PidRefusal> ServicePidRefusal(const ConfigStore& withEntry, int slot, Radix radix);

// The same for Ok before it stores: the entry as it would be stored in `slot`.
std::optional<PidRefusal> ServiceEntryPidRefusal(const ConfigStore& store, const ServiceEntry& entry,
                                                 Radix radix, const ServiceSlot& slot);

// The ghost editor's Add: `rows` are the editor's rows with the new row
// `row` already in them, the services those of `store`.
std::optional<std::string> GhostRowPidRefusal(const ConfigStore& store, const GhostRows& rows, int row,
                                              Radix radix);

} // namespace kv
