#pragma once
// The differences between two configurations in what their images carry:
// network name, transport stream ID, bit rate and mode, the services matched
// by name, and the ghost entries.

#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv {

struct FieldChange {
    std::string Service; // empty for the multiplex's own fields
    std::string Field;   // "network name", "video out", "audio 2 type", "Service ID"
    std::string Before;  // as the first configuration holds it
    std::string After;
};

struct GhostEntry {
    int Input = 0;
    int PidIn = 0;
    int PidOut = 0;
    bool operator==(const GhostEntry&) const = default;
};

struct MultiplexDiff {
    std::vector<FieldChange> Changes; // the multiplex's fields, then each service in the first one's order
    std::vector<std::string> ServicesAdded;
    std::vector<std::string> ServicesRemoved;
    std::vector<GhostEntry> GhostsAdded;
    std::vector<GhostEntry> GhostsRemoved;
    bool Empty() const {
        return Changes.empty() && ServicesAdded.empty() && ServicesRemoved.empty() && GhostsAdded.empty() &&
               GhostsRemoved.empty();
    }
};

MultiplexDiff DiffMultiplex(const ConfigStore& before, const ConfigStore& after);

// The differences one a line, as the command line prints them:
// `network name: "NET ONE" -> "NET TWO"`, `NEWS: video out: 512 -> 528`,
// `service added: SPORT`, `ghost removed: IN 1 PID 18 -> 18`.
std::vector<std::string> DiffLines(const MultiplexDiff& diff);

} // namespace kv
