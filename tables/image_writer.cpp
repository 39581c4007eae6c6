#include "tables/image_writer.h"

#include <algorithm>

#include "tables/image_records.h"
#include "tables/pat_table.h"
#include "tables/signalling_packets.h"

namespace kv {
namespace {

void Append(std::vector<uint8_t>& image, const Record& record) {
    image.insert(image.end(), record.begin(), record.end());
}

} // namespace

std::vector<std::string> ImageLimitViolations(const ConfigStore& store) {
    std::vector<std::string> violations;
    if (store.Svc.SvcCount > MaxPatServices)
        violations.push_back("Limited " + std::to_string(MaxPatServices) + " programs per Mux.");
    for (int input = 1; input <= InputCount; ++input) {
        const std::size_t pairs = PidPairsOfInput(store, input).size();
        if (pairs > static_cast<std::size_t>(PidMapPairs))
            violations.push_back("Limited " + std::to_string(PidMapPairs) + " PID pairs per IN: IN " +
                                 std::to_string(input) + " needs " + std::to_string(pairs) + ".");
    }
    const int adjusted = AdjustedPcrCount(store);
    if (adjusted > PcrListASlots)
        violations.push_back("Limited " + std::to_string(PcrListASlots) +
                             " adjusted PCRs per Mux: " + std::to_string(adjusted) + " are marked.");
    return violations;
}

std::optional<std::string> ImageLimitViolation(const ConfigStore& store) {
    std::vector<std::string> violations = ImageLimitViolations(store);
    if (violations.empty()) return std::nullopt;
    return std::move(violations.front());
}

std::vector<uint8_t> BuildConfigImage(const ConfigStore& store, int patVersion) {
    const std::vector<Packet> signalling = SignallingPackets(store, patVersion);
    const bool hasHeader = !signalling.empty() || store.Ghost.GhostCount > 0;
    const std::size_t records = (hasHeader ? 1 : 0) + InputCount + 2 + signalling.size();

    std::vector<uint8_t> image;
    image.reserve(records * RecordSize);
    if (hasHeader)
        Append(image, BuildHeaderRecord(ActiveRateGaps(store), ActiveRateStuff(store), records * RecordSize));
    for (int input = 1; input <= InputCount; ++input)
        Append(image, BuildPidMapRecord(input, PidPairsOfInput(store, input)));
    Append(image, BuildReservedMapRecord());
    Append(image, BuildPcrListRecord(store));
    for (const Packet& packet : signalling) Append(image, packet);
    return image;
}

} // namespace kv
