#include "ops/multiplex_diff.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "model/service_streams.h"
#include "ops/output_pid_uses.h"
#include "tables/rate.h"

namespace kv {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

template <std::size_t N> std::string Text(const char (&field)[N]) {
    return std::string(field, std::find(field, field + N, '\0') - field);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What the image carries of the multiplex itself.
Fields MultiplexFields(const ConfigStore& s) {
    const int16_t stuff = ActiveRateStuff(s);
    return {{"network name", Quoted(Text(s.Svc.NetName))},
            {"transport stream ID", std::to_string(s.Svc.TsId)},
            {"bit rate", std::to_string(EffectiveBitRate(ActiveRateGaps(s), stuff))},
            {"mode", stuff == 0 ? "pack" : "byte"}};
}

// What the image carries of one service: its tables' fields, and each
// present stream with its PIDs and type.
Fields ServiceFields(const ConfigStore& s, int i) {
    const ServiceInfo& info = s.Svc.SvcInfo[i];
    const ServicePids& p = s.Svc.SvcPids[i];
    Fields fields = {{"input", std::to_string(s.Svc.SvcInput[i])},
                     {"Service ID", std::to_string(p.ServiceId)},
                     {"provider", Quoted(Text(info.Provider))},
                     {"EIT present/following", (info.EitPresent & 1) ? "on" : "off"},
                     {"EIT schedule", (info.EitSchedule & 1) ? "on" : "off"},
                     {"PMT PID", std::to_string(s.Svc.SvcPmtPid[i])},
                     {"Generate PMT", p.GenPmt ? "on" : "off"}};
    for (const ConstStreamRef& st : StreamsOf(p)) {
        const std::string name = StreamName(st.Kind, st.Slot);
        if (!HasStream(st)) continue; // a missing field reads "none"
        fields.emplace_back(name + " in", std::to_string(st.PidIn));
        fields.emplace_back(name + " out", std::to_string(st.PidOut));
        if (st.Type) fields.emplace_back(name + " type", std::to_string(*st.Type));
        if (st.Kind == StreamKind::Pcr) fields.emplace_back("PCR adjust", p.PcrAdjust ? "on" : "off");
        if (st.Kind == StreamKind::Data) {
            const DataSlot& d = p.Data[st.Slot];
            fields.emplace_back(name + " subtitles",
                                d.SubEnable ? Quoted(Text(d.SubLang)) + " type " + std::to_string(d.SubType)
                                            : "off");
        }
    }
    return fields;
}

void Compare(MultiplexDiff& diff, const std::string& service, const Fields& before, const Fields& after) {
    for (std::size_t k = 0; k < before.size(); ++k) {
        const auto match = std::find_if(after.begin(), after.end(),
                                        [&](const auto& field) { return field.first == before[k].first; });
        const std::string value = match == after.end() ? "none" : match->second;
        if (value != before[k].second)
            diff.Changes.push_back({service, before[k].first, before[k].second, value});
    }
    for (const auto& field : after) {
        const auto match = std::find_if(before.begin(), before.end(),
                                        [&](const auto& other) { return other.first == field.first; });
        if (match == before.end()) diff.Changes.push_back({service, field.first, "none", field.second});
    }
}

std::vector<GhostEntry> GhostsOf(const ConfigStore& s) {
    std::vector<GhostEntry> ghosts;
    const int count = std::clamp<int>(s.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < count; ++j)
        ghosts.push_back({s.Ghost.GhostInput[j], s.Ghost.GhostPidIn[j], s.Ghost.GhostPidOut[j]});
    return ghosts;
}

// The entries of `from` that `in` lacks, each counted once per occurrence.
std::vector<GhostEntry> Missing(const std::vector<GhostEntry>& from, std::vector<GhostEntry> in) {
    std::vector<GhostEntry> missing;
    for (const GhostEntry& g : from) {
        const auto match = std::find(in.begin(), in.end(), g);
        if (match == in.end())
            missing.push_back(g);
        else
            in.erase(match);
    }
    return missing;
}

std::string GhostText(const GhostEntry& g) {
    return "IN " + std::to_string(g.Input) + " PID " + std::to_string(g.PidIn) + " -> " +
           std::to_string(g.PidOut);
}

} // namespace

MultiplexDiff DiffMultiplex(const ConfigStore& before, const ConfigStore& after) {
    MultiplexDiff diff;
    Compare(diff, "", MultiplexFields(before), MultiplexFields(after));

    // Services are matched by name, a repeated name with its next namesake.
    const int beforeCount = ServicesOf(before), afterCount = ServicesOf(after);
    std::vector<bool> matched(static_cast<std::size_t>(afterCount), false);
    for (int i = 0; i < beforeCount; ++i) {
        const std::string name = ServiceNameOf(before, i);
        int j = 0;
        while (j < afterCount && (matched[j] || ServiceNameOf(after, j) != name)) ++j;
        if (j == afterCount) {
            diff.ServicesRemoved.push_back(name);
            continue;
        }
        matched[j] = true;
        Compare(diff, name, ServiceFields(before, i), ServiceFields(after, j));
    }
    for (int j = 0; j < afterCount; ++j)
        if (!matched[j]) diff.ServicesAdded.push_back(ServiceNameOf(after, j));

    const std::vector<GhostEntry> ghostsBefore = GhostsOf(before), ghostsAfter = GhostsOf(after);
    diff.GhostsAdded = Missing(ghostsAfter, ghostsBefore);
    diff.GhostsRemoved = Missing(ghostsBefore, ghostsAfter);
    return diff;
}

std::vector<std::string> DiffLines(const MultiplexDiff& diff) {
    std::vector<std::string> lines;
    for (const FieldChange& c : diff.Changes)
        lines.push_back((c.Service.empty() ? "" : c.Service + ": ") + c.Field + ": " + c.Before + " -> " +
                        c.After);
    for (const std::string& name : diff.ServicesAdded) lines.push_back("service added: " + name);
    for (const std::string& name : diff.ServicesRemoved) lines.push_back("service removed: " + name);
    for (const GhostEntry& g : diff.GhostsAdded) lines.push_back("ghost added: " + GhostText(g));
    for (const GhostEntry& g : diff.GhostsRemoved) lines.push_back("ghost removed: " + GhostText(g));
    return lines;
}

} // namespace kv
