// Project files from anywhere: the reader either takes all 13880 bytes into
// a store that keeps its limits, or refuses and leaves the store alone.
// What "Open" and "Send Mux" then do with an accepted store must hold too:
// the bit-rate exit handling, the image and its read-back, and for every
// store the multiplex check passes without errors the round trip: "Get" of
// the image gives back the multiplex that was sent; and its description
// must compose back into the same multiplex.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "model/bounded_text.h"
#include "model/project_file.h"
#include "ops/bit_rate_checks.h"
#include "ops/bit_rate_entry.h"
#include "ops/multiplex_check.h"
#include "ops/multiplex_description.h"
#include "ops/multiplex_diff.h"
#include "ops/round_trip.h"

using namespace kv;

namespace {

// The bytes after a name's or a language's NUL mean nothing in a project
// file, but the SDT and the subtitle descriptor copy whole fields.
template <std::size_t N> void ClearAfterNul(char (&field)[N]) {
    const std::size_t length = BoundedText(field).size();
    std::memset(field + length, 0, N - length);
}

// A description of the project composes back into a project that `diff`
// finds equal and whose image is the same byte for byte; a pacing table that
// is not the bit rate's is made anew from the rate.
void CheckDescriptionRoundTrip(const ConfigStore& project, int patVersion) {
    auto composed = fuzz::ZeroStore();
    const ComposeResult result = ComposeMultiplex(DescribeMultiplex(project), *composed, ComposeForce::All);
    if (!result.Taken) fuzz::Fail("the description is refused: " + result.Refusals.front().Text());
    fuzz::RequireStructure(*composed, "store after compose");
    const bool tableOfRate = RateTableMode(project, ActiveBitRate(project)).has_value();
    const MultiplexDiff diff = DiffMultiplex(project, *composed);
    for (const FieldChange& change : diff.Changes)
        if (tableOfRate || (change.Field != "bit rate" && change.Field != "mode"))
            fuzz::Fail("compose of export differs in " + change.Service + " " + change.Field);
    fuzz::Require(diff.ServicesAdded.empty() && diff.ServicesRemoved.empty() && diff.GhostsAdded.empty() &&
                      diff.GhostsRemoved.empty(),
                  "compose of export keeps the services and ghost entries");
    if (!tableOfRate) return;
    auto meaningful = std::make_unique<ConfigStore>(project);
    for (int i = 0; i < meaningful->Svc.SvcCount; ++i) {
        ClearAfterNul(meaningful->Svc.SvcInfo[i].Name);
        ClearAfterNul(meaningful->Svc.SvcInfo[i].Provider);
        for (DataSlot& d : meaningful->Svc.SvcPids[i].Data) ClearAfterNul(d.SubLang);
    }
    const auto before = fuzz::BuildChecked(*meaningful, patVersion);
    const auto after = fuzz::BuildChecked(*composed, patVersion);
    fuzz::Require(before == after, "compose of export builds the same image");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The store before Open holds a pattern, so any partial write shows.
    auto store = fuzz::ZeroStore();
    std::memset(store.get(), 0xA5, sizeof(ConfigStore));
    auto before = fuzz::ZeroStore();
    std::memcpy(before.get(), store.get(), sizeof(ConfigStore));

    const ProjectFileStatus status = ReadProjectBytes(data, size, *store);
    if (status != ProjectFileStatus::Ok) {
        fuzz::Require(status == ProjectFileStatus::Corrupted, "a refused file reads as corrupted");
        fuzz::Require(fuzz::SameBytes(*store, *before), "a refused file leaves the store unchanged");
        return 0;
    }
    fuzz::Require(size == ProjectFileSize, "only 13880 bytes are accepted");
    fuzz::Require(std::memcmp(store.get(), data, size) == 0, "the store is the byte image of the file");
    fuzz::RequireStructure(*store, "store after Open");
    // Any PAT version will do: take it from a reserved byte, which means nothing.
    const int patVersion = data[offsetof(ServiceBlock, Reserved)] % 32;
    CheckDescriptionRoundTrip(*store, patVersion);

    // Open: the bit-rate box shows the rate in force and is left as the operator would.
    const bool ghostOnly = store->Svc.SvcCount == 0 && store->Ghost.GhostCount > 0;
    const int64_t rate = ghostOnly ? store->Ghost.GhostBitRate : store->Svc.BitRate;
    ApplyBitRateEntry(*store, std::to_string(rate), ActiveRateStuff(*store) != 0);
    fuzz::RequireStructure(*store, "store after the bit-rate entry");

    // Send Mux, then Get of what the device would play back.
    const auto image = fuzz::BuildChecked(*store, patVersion);
    if (!image) return 0;
    auto readBack = fuzz::ZeroStore();
    const ReadBackResult result = fuzz::ParseChecked(*image, *readBack);
    if (store->Svc.SvcCount > 0)
        fuzz::Require(result.ServiceCount == store->Svc.SvcCount, "every service of the image is read back");

    if (CheckMultiplex(*store).Errors() > 0) return 0;
    const MultiplexDiff diff = RoundTripDiff(*store, patVersion);
    if (!diff.Empty()) {
        std::string lines = "the read-back differs from what was sent:";
        for (const std::string& line : DiffLines(diff)) lines += "\n  " + line;
        fuzz::Fail(lines);
    }
    return 0;
}
