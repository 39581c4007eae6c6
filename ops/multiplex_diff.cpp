#include "ops/multiplex_diff.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "model/service_streams.h"
#include "ops/output_pid_uses.h"
#include "tables/nit_table.h"
#include "tables/rate.h"
#include "tables/stream_types.h"

namespace kv {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

template <std::size_t N> std::string Text(const char (&field)[N]) {
    return std::string(field, std::find(field, field + N, '\0') - field);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What the image carries of the multiplex itself: the name as the NIT
// carries it, the pacing table as the header carries it.
Fields MultiplexFields(const ConfigStore& s) {
    const auto stuff = static_cast<int16_t>(static_cast<uint8_t>(ActiveRateStuff(s)));
    return {{"network name", Quoted(NetworkNameOnAir(s.Svc))},
            {"transport stream ID", std::to_string(s.Svc.TsId)},
            {"bit rate", std::to_string(EffectiveBitRate(ActiveRateGaps(s), stuff))},
            {"mode", stuff == 0 ? "pack" : "byte"}};
}

// A stream's type as it goes on air: the type code of its stream_type.
int16_t TypeOnAir(StreamKind kind, int16_t type) {
    switch (kind) {
    case StreamKind::Video:
        return VideoTypeOf(VideoStreamType(type)).value_or(type);
    case StreamKind::Audio:
        return AudioTypeOf(AudioStreamType(type)).value_or(type);
    case StreamKind::Data:
        return DataTypeOf(DataStreamType(type)).value_or(type);
    case StreamKind::Pcr:
        break;
    }
    return type;
}

std::string OnOff(int flag) {
    return flag ? "on" : "off";
}

// What the image carries of one service: its tables' fields, and each
// present stream with its PIDs and type. Audio and data streams are named
// in the order they go out ("audio 1" is the first audio stream of the
// PMT), so an empty slot before a stream is no difference.
Fields ServiceFields(const ConfigStore& s, int i) {
    const ServiceInfo& info = s.Svc.SvcInfo[i];
    const ServicePids& p = s.Svc.SvcPids[i];
    Fields fields = {{"input", std::to_string(s.Svc.SvcInput[i])},
                     {"Service ID", std::to_string(p.ServiceId)},
                     {"provider", Quoted(Text(info.Provider))},
                     {"EIT present/following", OnOff(info.EitPresent & 1)},
                     {"EIT schedule", OnOff(info.EitSchedule & 1)},
                     {"PMT PID", std::to_string(s.Svc.SvcPmtPid[i])},
                     {"Generate PMT", OnOff(p.GenPmt)}};
    int audio = 0, data = 0;
    for (const ConstStreamRef& st : StreamsOf(p)) {
        if (!HasStream(st)) continue; // a missing field reads "none"
        const int onAir = st.Kind == StreamKind::Audio ? audio++ : st.Kind == StreamKind::Data ? data++ : 0;
        const std::string name = StreamName(st.Kind, onAir);
        fields.emplace_back(name + " in", std::to_string(st.PidIn));
        fields.emplace_back(name + " out", std::to_string(st.PidOut));
        if (st.Type) fields.emplace_back(name + " type", std::to_string(TypeOnAir(st.Kind, *st.Type)));
        if (st.Kind == StreamKind::Pcr) fields.emplace_back("PCR adjust", OnOff(p.PcrAdjust));
        if (st.Kind == StreamKind::Data) {
            const DataSlot& d = p.Data[st.Slot];
            const std::string language = Text(d.SubLang).substr(0, 3); // the three letters the PMT carries
            fields.emplace_back(name + " subtitles",
                                d.SubEnable ? Quoted(language) + " type " + std::to_string(d.SubType & 0xFF)
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

// Whether a service on the entry's input already passes the same PID to the
// same output PID: the entry then changes nothing on air.
bool ServiceCarries(const ConfigStore& s, const GhostEntry& g) {
    for (int i = 0; i < ServicesOf(s); ++i) {
        if (s.Svc.SvcInput[i] != g.Input) continue;
        for (const ConstStreamRef& st : StreamsOf(s.Svc.SvcPids[i]))
            if (HasStream(st) && st.PidIn == g.PidIn && st.PidOut == g.PidOut) return true;
    }
    return false;
}

// The ghost entries that add a pair of their own to the output.
std::vector<GhostEntry> GhostsOf(const ConfigStore& s) {
    std::vector<GhostEntry> ghosts;
    const int count = std::clamp<int>(s.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < count; ++j) {
        const GhostEntry g{s.Ghost.GhostInput[j], s.Ghost.GhostPidIn[j], s.Ghost.GhostPidOut[j]};
        if (!ServiceCarries(s, g)) ghosts.push_back(g);
    }
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
