// Project files from anywhere: the reader either takes all 13880 bytes into
// a store that keeps its limits, or refuses and leaves the store alone.
// What "Open" and "Send Mux" then do with an accepted store must hold too:
// the bit-rate exit handling, the image and its read-back, and for every
// store the multiplex check passes without errors the round trip: "Get" of
// the image gives back the multiplex that was sent. (That a description of
// the store composes back into it is project_description_fuzz's property.)
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "fuzz/tidy_store.h"
#include "model/project_file.h"
#include "ops/bit_rate_checks.h"
#include "ops/bit_rate_entry.h"
#include "ops/multiplex_check.h"
#include "ops/multiplex_diff.h"
#include "ops/round_trip.h"

using namespace kv;

namespace {

// How many inputs reached each property; printed when the run ends, since
// most mutated files are refused or fail the check.
struct Tally {
    long Accepted = 0;
    long RoundTrips = 0;
    ~Tally() {
        std::fprintf(stderr, "tally: %ld files accepted, %ld round trips compared\n", Accepted, RoundTrips);
    }
} tally;

} // namespace

extern "C" std::size_t LLVMFuzzerMutate(uint8_t* data, std::size_t size, std::size_t maxSize);

// libFuzzer's own mutations, and for every other one the file tidied towards
// a store the check passes (see tidy_store.h); the untidied half keeps the
// reader and the check exercised on anything.
extern "C" std::size_t LLVMFuzzerCustomMutator(uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 2 == 0) return size;
    auto store = fuzz::ZeroStore();
    if (ReadProjectBytes(data, size, *store) != ProjectFileStatus::Ok) return size;
    fuzz::TidyTowardsCheck(*store);
    std::memcpy(data, store.get(), size);
    return size;
}

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
    ++tally.Accepted;
    fuzz::Require(size == ProjectFileSize, "only 13880 bytes are accepted");
    fuzz::Require(std::memcmp(store.get(), data, size) == 0, "the store is the byte image of the file");
    fuzz::RequireStructure(*store, "store after Open");
    // Any PAT version will do: take it from a reserved byte, which means nothing.
    const int patVersion = data[offsetof(ServiceBlock, Reserved)] % 32;

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
    ++tally.RoundTrips;
    const MultiplexDiff diff = RoundTripDiff(*store, patVersion);
    if (!diff.Empty()) {
        std::string lines = "the read-back differs from what was sent:";
        for (const std::string& line : DiffLines(diff)) lines += "\n  " + line;
        fuzz::Fail(lines);
    }
    return 0;
}
