// "Get": whatever the device or a broken cable delivers is parsed into the
// store. Input: one mode byte, four bytes that seed the store, then the
// captured image.
//   mode 0: a freshly started program (all-zero store);
//   mode 1: a store that already holds services and ghost entries (its
//           output PIDs taken from the image's PID maps, so that the parse
//           matches pairs against them) and noise in every free slot, as a
//           project file may leave it;
//   mode 2: "Get" twice in a row from a fresh program: the second parse
//           must give the store of the first.
// Every parse is followed by what the tool does next: the window's values,
// the project a fresh program saves, and "Send Mux" of the result.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "fuzz/fuzz_checks.h"

using namespace kv;

namespace {

constexpr std::size_t PrefixSize = 5;

// The output PIDs of the pairs in the image's PID maps (plus "no stream").
std::vector<int16_t> PidMapOutputs(const std::vector<uint8_t>& image) {
    std::vector<int16_t> pids{PidNone};
    for (int input = 1; input <= InputCount; ++input) {
        const std::size_t record = PidMapIndex(input) * RecordSize;
        for (int k = 0; k < PidMapPairs; ++k) {
            const std::size_t at = record + PidMapPairAt(k) + 2;
            if (at + 1 >= image.size()) return pids;
            pids.push_back(static_cast<int16_t>((image[at] | (image[at + 1] << 8)) & 0x1FFF));
        }
    }
    return pids;
}

// A store that passes the project file's checks: noise everywhere, then
// valid used slots. Output PIDs come from `pool`, input PIDs are any PID.
std::unique_ptr<ConfigStore> SeededStore(uint32_t seed, const std::vector<int16_t>& pool) {
    std::mt19937 random(seed);
    auto store = fuzz::ZeroStore();
    auto* bytes = reinterpret_cast<uint8_t*>(store.get());
    for (std::size_t k = 0; k < sizeof(ConfigStore); ++k) bytes[k] = static_cast<uint8_t>(random());
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto anyPid = [&] { return static_cast<int16_t>(below(PidNone + 1)); };
    auto outPid = [&] {
        return below(4) == 0 ? anyPid()
                             : pool[static_cast<std::size_t>(below(static_cast<int>(pool.size())))];
    };
    auto terminate = [&](char* field, int size) { field[below(size)] = '\0'; };

    ServiceBlock& sb = store->Svc;
    // Mostly what a PAT can hold, sometimes up to the store's 100 slots.
    sb.SvcCount = static_cast<int16_t>(below(4) == 0 ? below(MaxServices + 1) : below(MaxPatServices + 1));
    terminate(sb.NetName, sizeof sb.NetName);
    for (int i = 0; i < sb.SvcCount; ++i) {
        sb.SvcInput[i] = static_cast<int16_t>(below(InputCount + 1));
        sb.SvcPmtPid[i] = outPid();
        terminate(sb.SvcInfo[i].Name, sizeof sb.SvcInfo[i].Name);
        terminate(sb.SvcInfo[i].Provider, sizeof sb.SvcInfo[i].Provider);
        ServicePids& p = sb.SvcPids[i];
        p.PmtPid = sb.SvcPmtPid[i];
        p.PcrIn = anyPid();
        p.PcrOut = outPid();
        p.VideoIn = anyPid();
        p.VideoOut = outPid();
        for (AudioSlot& a : p.Audio) {
            a.PidIn = anyPid();
            a.PidOut = outPid();
        }
        for (DataSlot& d : p.Data) {
            d.PidIn = anyPid();
            d.PidOut = outPid();
            terminate(d.SubLang, sizeof d.SubLang);
        }
    }
    GhostBlock& gb = store->Ghost;
    gb.GhostCount = static_cast<int16_t>(below(MaxGhosts + 1));
    for (int j = 0; j < gb.GhostCount; ++j) {
        gb.GhostInput[j] = static_cast<int16_t>(below(InputCount + 1));
        gb.GhostPidIn[j] = anyPid();
        gb.GhostPidOut[j] = anyPid();
    }
    fuzz::RequireInvariants(*store, "seeded store (the harness itself)");
    return store;
}

// What follows a parse: the project a fresh program saves from this image,
// and "Send Mux" of the store the parse left, read back once more.
void CheckWhatFollows(const std::vector<uint8_t>& image, const ConfigStore& parsed, int patVersion) {
    ReadBackResult decoded;
    const ConfigStore project = DecodeImageToProject(image, &decoded);
    fuzz::RequireInvariants(project, "project decoded from the image");

    const auto resent = fuzz::BuildChecked(parsed, patVersion < 0 ? 0 : patVersion);
    if (!resent) return;
    auto again = fuzz::ZeroStore();
    const ReadBackResult result = fuzz::ParseChecked(*resent, *again);
    if (parsed.Svc.SvcCount > 0)
        fuzz::Require(result.ServiceCount == parsed.Svc.SvcCount, "every service sent is read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < PrefixSize) return 0;
    const int mode = data[0] % 3;
    uint32_t seed = 0;
    std::memcpy(&seed, data + 1, sizeof seed);
    const std::vector<uint8_t> image(data + PrefixSize, data + size);

    auto store = mode == 1 ? SeededStore(seed, PidMapOutputs(image)) : fuzz::ZeroStore();
    const ReadBackResult result = fuzz::ParseChecked(image, *store);
    if (mode == 2) {
        auto twice = fuzz::ZeroStore();
        std::memcpy(twice.get(), store.get(), sizeof(ConfigStore));
        fuzz::ParseChecked(image, *twice);
        fuzz::Require(fuzz::SameBytes(*twice, *store), "a second Get of the same image changes the store");
    }
    CheckWhatFollows(image, *store, result.PatVersion);
    return 0;
}
