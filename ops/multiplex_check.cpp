#include "ops/multiplex_check.h"

#include <algorithm>
#include <map>
#include <utility>

#include "ops/bit_rate_entry.h"
#include "ops/output_pid_uses.h"
#include "ops/stored_ranges.h"
#include "tables/image_records.h"
#include "tables/image_writer.h"

namespace kv {
namespace {

// "A, B and C"
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0) text += k + 1 == items.size() ? " and " : ", ";
        text += items[k];
    }
    return text;
}

void Add(MultiplexReport& report, Severity severity, const char* code, std::string message,
         std::vector<int> pids = {}) {
    report.Findings.push_back({severity, code, std::move(message), std::move(pids)});
}

// The uses of one output PID: two sources on it, or anything beside a
// generated table.
void CheckPid(MultiplexReport& report, int pid, const std::vector<const PidUse*>& uses) {
    std::vector<const PidUse*> generated, carried;
    for (const PidUse* use : uses) (use->Generated() ? generated : carried).push_back(use);

    // One source named once, by its video rather than the PCR riding on it.
    std::map<std::pair<int, int>, std::size_t> seen;
    std::vector<const PidUse*> named;
    for (const PidUse* use : carried) {
        const auto [at, fresh] = seen.try_emplace({use->Input, use->InputPid}, named.size());
        if (fresh)
            named.push_back(use);
        else if (named[at->second]->what == PidUse::What::Stream &&
                 named[at->second]->Kind == StreamKind::Pcr)
            named[at->second] = use;
    }
    std::vector<std::string> sources;
    for (const PidUse* use : named) sources.push_back(UseText(*use));
    if (sources.size() > 1)
        Add(report, Severity::Error, "pid-conflict",
            "Output PID " + PidText(pid) + " is carried from " + std::to_string(sources.size()) +
                " sources: " + Listed(sources) + ".",
            {pid});

    if (!generated.empty() && uses.size() > 1) {
        std::vector<std::string> others;
        for (const PidUse* use : uses)
            if (use != generated.front()) others.push_back(UseText(*use));
        Add(report, Severity::Error, "pid-generated",
            "Output PID " + PidText(pid) + " of " + UseText(*generated.front()) + " is also used by " +
                Listed(others) + ".",
            {pid});
    }
}

void CheckPids(MultiplexReport& report, const std::vector<PidUse>& uses) {
    std::map<int, std::vector<const PidUse*>> byPid;
    std::map<std::pair<int, int>, std::vector<const PidUse*>> bySource;
    for (const PidUse& use : uses) {
        byPid[use.Pid].push_back(&use);
        if (!use.Generated()) bySource[{use.Input, use.InputPid}].push_back(&use);
        if (use.what == PidUse::What::Stream && use.Pid > PatPid && use.Pid <= LastReservedPid &&
            use.Pid != NitPid && use.Pid != SdtPid)
            Add(report, Severity::Warning, "pid-reserved",
                UseText(use) + " goes out on PID " + PidText(use.Pid) + ", reserved for other tables.",
                {use.Pid});
    }
    for (const auto& [pid, onPid] : byPid) CheckPid(report, pid, onPid);

    for (const auto& [source, onSource] : bySource) {
        std::vector<int> outputs;
        for (const PidUse* use : onSource)
            if (std::find(outputs.begin(), outputs.end(), use->Pid) == outputs.end())
                outputs.push_back(use->Pid);
        if (outputs.size() < 2) continue;
        std::vector<std::string> texts;
        for (int pid : outputs) texts.push_back(PidText(pid));
        Add(report, Severity::Warning, "input-split",
            "IN " + std::to_string(source.first) + " PID " + PidText(source.second) + " goes out on PIDs " +
                Listed(texts) + ".",
            outputs);
    }
}

// A PCR output PID is adjusted by the device or not: services sharing it
// must agree on the mark (the image lists the PID once per service, and the
// read-back gives every one of them the last mark).
void CheckSharedPcrs(MultiplexReport& report, const ConfigStore& store) {
    std::map<int, std::vector<int>> byPcr;
    for (int i = 0; i < report.Services; ++i) {
        const ServicePids& p = store.Svc.SvcPids[i];
        if (HasStream(StreamsOf(p)[StreamIndex(StreamKind::Pcr, 0)])) byPcr[p.PcrOut].push_back(i);
    }
    for (const auto& [pcr, slots] : byPcr) {
        std::vector<std::string> marked, unmarked;
        for (int i : slots)
            (store.Svc.SvcPids[i].PcrAdjust ? marked : unmarked).push_back(ServiceNameOf(store, i));
        if (marked.empty() || unmarked.empty()) continue;
        Add(report, Severity::Error, "pcr-adjust",
            "PCR PID " + PidText(pcr) + " is marked for adjustment by " + Listed(marked) + " but not by " +
                Listed(unmarked) + ".",
            {pcr});
    }
}

void CheckServices(MultiplexReport& report, const ConfigStore& store) {
    std::map<int, std::vector<int>> byId;
    for (int i = 0; i < report.Services; ++i) {
        const ServicePids& p = store.Svc.SvcPids[i];
        byId[p.ServiceId].push_back(i);
        // The PAT names one PMT PID, the PMT goes out on the other: the PMT is lost.
        if (store.Svc.SvcPmtPid[i] != p.PmtPid)
            Add(report, Severity::Error, "pmt-pid",
                ServiceNameOf(store, i) + ": the PAT names PMT PID " + PidText(store.Svc.SvcPmtPid[i]) +
                    " but the PMT goes out on " + PidText(p.PmtPid) + ".",
                {store.Svc.SvcPmtPid[i], p.PmtPid});
        const auto streams = StreamsOf(p);
        const bool playsSomething = std::any_of(streams.begin(), streams.end(), [](const ConstStreamRef& s) {
            return (s.Kind == StreamKind::Video || s.Kind == StreamKind::Audio) && HasStream(s);
        });
        if (playsSomething && p.PcrOut == PidNone)
            Add(report, Severity::Warning, "no-pcr",
                ServiceNameOf(store, i) + " has video or audio but no PCR output PID.");
    }
    for (const auto& [id, slots] : byId) {
        if (slots.size() < 2) continue;
        std::vector<std::string> names;
        std::vector<int> pmts;
        for (int i : slots) {
            names.push_back(ServiceNameOf(store, i));
            pmts.push_back(store.Svc.SvcPids[i].PmtPid);
        }
        Add(report, Severity::Error, "service-id",
            "Service ID " + std::to_string(id) + " is used by " + std::to_string(slots.size()) +
                " services: " + Listed(names) + ".",
            pmts);
    }
}

void CheckRateTable(MultiplexReport& report, const ConfigStore& store) {
    const int64_t rate = ActiveBitRate(store);
    if (rate == 0 || RateTableIsOfRate(store, rate)) return;
    Add(report, Severity::Warning, "rate-table",
        "The stored pacing table is not the one of the bit rate " + std::to_string(rate) +
            " bit/s in either mode.");
}

} // namespace

int MultiplexReport::Errors() const {
    return static_cast<int>(std::count_if(Findings.begin(), Findings.end(),
                                          [](const Finding& f) { return f.severity == Severity::Error; }));
}

int MultiplexReport::Warnings() const {
    return static_cast<int>(Findings.size()) - Errors();
}

std::string SendAnywayQuestion(const MultiplexReport& report) {
    constexpr int Shown = 10;
    const int errors = report.Errors();
    if (errors == 0) return {};
    std::string text = "The multiplex has " + std::to_string(errors) + " errors:\n";
    for (int k = 0; k < std::min(errors, Shown); ++k)
        text += report.Findings[k].Message + "\n"; // errors come first
    if (errors > Shown) text += "...\n";
    return text + "Send anyway?";
}

MultiplexReport CheckMultiplex(const ConfigStore& store) {
    MultiplexReport report;
    report.Services = ServicesOf(store);
    report.AdjustedPcrs = AdjustedPcrCount(store);
    for (int input = 1; input <= InputCount; ++input)
        report.Pairs[input - 1] = static_cast<int>(PidPairsOfInput(store, input).size());

    const std::vector<PidUse> uses = OutputPidUses(store);
    for (const PidUse& use : uses) report.Outputs.push_back({use.Pid, use.Carries, use.Input, use.InputPid});
    std::stable_sort(report.Outputs.begin(), report.Outputs.end(),
                     [](const OutputUse& a, const OutputUse& b) { return a.Pid < b.Pid; });

    if (report.Services == 0 && std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts) == 0)
        Add(report, Severity::Error, "empty", EmptyMultiplexMessage);
    for (std::string& value : OutOfRangeValues(store))
        Add(report, Severity::Error, "pid-range", std::move(value));
    CheckPids(report, uses);
    CheckServices(report, store);
    CheckSharedPcrs(report, store);
    for (std::string& limit : ImageLimitViolations(store))
        Add(report, Severity::Error, "limit", std::move(limit));
    CheckRateTable(report, store);

    std::stable_partition(report.Findings.begin(), report.Findings.end(),
                          [](const Finding& f) { return f.severity == Severity::Error; });
    return report;
}

} // namespace kv
