#include "model/saved_content.h"

#include <algorithm>

namespace kv {
namespace {

template <typename T> void Append(std::vector<uint8_t>& bytes, const T& value) {
    const auto* first = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof value);
}

// Only what the counts cover: slots beyond them are no service or entry.
std::vector<uint8_t> ServiceContent(const ServiceBlock& sb) {
    std::vector<uint8_t> bytes;
    const int count = std::clamp<int>(sb.SvcCount, 0, MaxServices);
    Append(bytes, count);
    for (int i = 0; i < count; ++i) {
        Append(bytes, sb.SvcInput[i]);
        Append(bytes, sb.SvcPmtPid[i]);
        Append(bytes, sb.SvcInfo[i]);
        Append(bytes, sb.SvcPids[i]);
    }
    return bytes;
}

std::vector<uint8_t> GhostContent(const GhostBlock& g) {
    std::vector<uint8_t> bytes;
    const int count = std::clamp<int>(g.GhostCount, 0, MaxGhosts);
    Append(bytes, count);
    for (int j = 0; j < count; ++j) {
        Append(bytes, g.GhostInput[j]);
        Append(bytes, g.GhostPidIn[j]);
        Append(bytes, g.GhostPidOut[j]);
    }
    return bytes;
}

} // namespace

SavedContent::SavedContent() : services_(sizeof(int), 0), ghosts_(sizeof(int), 0) {}

void SavedContent::Mark(const ConfigStore& store) {
    MarkServices(store.Svc);
    ghosts_ = GhostContent(store.Ghost);
}

void SavedContent::MarkServices(const ServiceBlock& sb) {
    services_ = ServiceContent(sb);
}

bool SavedContent::Changed(const ConfigStore& store) const {
    return ServiceContent(store.Svc) != services_ || GhostContent(store.Ghost) != ghosts_;
}

} // namespace kv
