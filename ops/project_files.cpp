#include "ops/project_files.h"

#include <array>
#include <cstring>
#include <fstream>

#include "ops/bit_rate_entry.h"
#include "ops/multiplex_description.h"
#include "ops/service_entry.h"

namespace kv {

namespace {

// A description as the window opens one: the editors' rules hold, the
// multiplex check's errors are asked about at "Send Mux".
ProjectFileStatus ReadDescription(const std::string& path, ConfigStore& store, std::string* problem) {
    if (!std::ifstream(path)) return ProjectFileStatus::CannotOpen;
    const ComposeResult result = ReadDescriptionFile(path, store, ComposeForce::CheckErrors);
    if (result.Taken) return ProjectFileStatus::Ok;
    if (problem) {
        problem->clear();
        for (const DescriptionRefusal& refusal : result.Refusals) *problem += refusal.Text() + "\n";
    }
    return ProjectFileStatus::Corrupted;
}

} // namespace

ProjectFileStatus OpenProject(const std::string& path, ConfigStore& store, SavedContent& saved,
                              std::string* problem) {
    const ProjectFileStatus status = IsDescriptionPath(path) ? ReadDescription(path, store, problem)
                                                             : ReadProjectFile(path, store, problem);
    if (status == ProjectFileStatus::Ok) saved.Mark(store);
    return status;
}

ProjectFileStatus SaveProject(const std::string& path, ConfigStore& store, const SaveEntry& boxes,
                              SavedContent& saved) {
    ServiceBlock& sb = store.Svc;
    const uint16_t tsIdBefore = sb.TsId;
    const int64_t bitRateBefore = sb.BitRate;
    std::array<char, sizeof sb.NetName> netNameBefore;
    std::memcpy(netNameBefore.data(), sb.NetName, sizeof sb.NetName);
    sb.TsId = static_cast<uint16_t>(AtolText(boxes.TsIdText));
    sb.BitRate = AtolText(boxes.RateText);
    // The rate in force is kept where Open looks for it: a description of
    // ghost entries only keeps it in GhostBitRate.
    const int64_t ghostBitRateBefore = store.Ghost.GhostBitRate;
    if (UsesGhostRate(store)) store.Ghost.GhostBitRate = sb.BitRate;
    WriteNetName(sb, boxes.NetName);
    const ProjectFileStatus status =
        IsDescriptionPath(path) ? WriteDescriptionFile(path, store) : WriteProjectFile(path, store);
    if (status == ProjectFileStatus::CannotCreate) {
        sb.TsId = tsIdBefore;
        sb.BitRate = bitRateBefore;
        store.Ghost.GhostBitRate = ghostBitRateBefore;
        std::memcpy(sb.NetName, netNameBefore.data(), sizeof sb.NetName);
    }
    if (status == ProjectFileStatus::Ok) saved.Mark(store);
    return status;
}

} // namespace kv
