#include "cli/diff_output.h"

#include <iostream>

#include <nlohmann/json.hpp>

namespace kv::cli {
namespace {

nlohmann::json GhostsJson(const std::vector<GhostEntry>& ghosts) {
    nlohmann::json list = nlohmann::json::array();
    for (const GhostEntry& g : ghosts)
        list.push_back({{"input", g.Input}, {"input_pid", g.PidIn}, {"pid", g.PidOut}});
    return list;
}

nlohmann::json DiffJson(const MultiplexDiff& diff) {
    nlohmann::json changes = nlohmann::json::array();
    for (const FieldChange& c : diff.Changes)
        changes.push_back({{"service", c.Service}, {"field", c.Field}, {"a", c.Before}, {"b", c.After}});
    return {{"changes", changes},
            {"services_added", diff.ServicesAdded},
            {"services_removed", diff.ServicesRemoved},
            {"ghosts_added", GhostsJson(diff.GhostsAdded)},
            {"ghosts_removed", GhostsJson(diff.GhostsRemoved)}};
}

} // namespace

int PrintDiff(const MultiplexDiff& diff, bool json) {
    if (json)
        std::cout << DiffJson(diff).dump(2) << '\n';
    else
        for (const std::string& line : DiffLines(diff)) std::cout << line << '\n';
    return diff.Empty() ? 0 : 1;
}

} // namespace kv::cli
