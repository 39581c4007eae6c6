#include "model/saved_content.h"

#include <algorithm>
#include <cstring>

namespace kv {
namespace {

template <typename T> bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Only what the counts cover: slots beyond them are no service or entry.
bool SameServices(const ServiceBlock& a, const ServiceBlock& b) {
    if (a.SvcCount != b.SvcCount) return false;
    const int count = std::clamp<int>(a.SvcCount, 0, MaxServices);
    for (int i = 0; i < count; ++i) {
        if (a.SvcInput[i] != b.SvcInput[i] || a.SvcPmtPid[i] != b.SvcPmtPid[i] ||
            !SameBytes(a.SvcInfo[i], b.SvcInfo[i]) || !SameBytes(a.SvcPids[i], b.SvcPids[i]))
            return false;
    }
    return true;
}

bool SameGhosts(const GhostBlock& a, const GhostBlock& b) {
    if (a.GhostCount != b.GhostCount) return false;
    const int count = std::clamp<int>(a.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < count; ++j) {
        if (a.GhostInput[j] != b.GhostInput[j] || a.GhostPidIn[j] != b.GhostPidIn[j] ||
            a.GhostPidOut[j] != b.GhostPidOut[j])
            return false;
    }
    return true;
}

} // namespace

void SavedContent::Mark(const ConfigStore& store) {
    MarkServices(store.Svc);
    ghosts_ = store.Ghost;
}

void SavedContent::MarkServices(const ServiceBlock& sb) {
    services_ = sb;
}

bool SavedContent::Changed(const ConfigStore& store) const {
    return !SameServices(store.Svc, services_) || !SameGhosts(store.Ghost, ghosts_);
}

} // namespace kv
