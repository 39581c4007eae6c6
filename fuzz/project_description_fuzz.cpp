// Project files from anywhere, as the description export sees them: for
// every store the reader accepts, its description composes back into a
// project that `diff` finds equal and, when the pacing table is the rate's
// own, whose image is the same byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "model/bounded_text.h"
#include "model/project_file.h"
#include "ops/bit_rate_checks.h"
#include "ops/multiplex_description.h"
#include "ops/multiplex_diff.h"

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
    auto store = fuzz::ZeroStore();
    if (ReadProjectBytes(data, size, *store) != ProjectFileStatus::Ok) return 0;
    // Any PAT version will do: take it from a reserved byte, which means nothing.
    CheckDescriptionRoundTrip(*store, data[offsetof(ServiceBlock, Reserved)] % 32);
    return 0;
}
