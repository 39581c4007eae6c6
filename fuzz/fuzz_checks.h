#pragma once
// What the fuzz targets check after every input. A failed check names what
// broke and aborts, so libFuzzer keeps the input as a crash file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/store_invariants.h"
#include "ops/readback_display.h"
#include "tables/image_layout.h"
#include "tables/image_writer.h"
#include "tables/pat_table.h"
#include "tables/readback_parse.h"

namespace kv::fuzz {

[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "check failed: %s\n", what.c_str());
    std::abort();
}

inline void Require(bool ok, const char* what) {
    if (!ok) Fail(what);
}

inline void RequireInvariants(const ConfigStore& store, const char* where) {
    if (const auto violation = StoreInvariantViolation(store)) Fail(std::string(where) + ": " + *violation);
}

// What a project file's store keeps: its counts and terminated texts; its
// PIDs and inputs may be anything (the multiplex check reports them).
inline void RequireStructure(const ConfigStore& store, const char* where) {
    if (const auto violation = StoreStructureViolation(store)) Fail(std::string(where) + ": " + *violation);
}

// An all-zero store, as at program start (13880 bytes: kept off the stack).
inline std::unique_ptr<ConfigStore> ZeroStore() {
    auto store = std::make_unique<ConfigStore>();
    std::memset(store.get(), 0, sizeof(ConfigStore));
    return store;
}

inline bool SameBytes(const ConfigStore& a, const ConfigStore& b) {
    return std::memcmp(&a, &b, sizeof(ConfigStore)) == 0;
}

// "Get": parses the image into `store` and checks the result, the store and
// what the window would show.
inline ReadBackResult ParseChecked(const std::vector<uint8_t>& image, ConfigStore& store) {
    const ReadBackResult result = ParseReadBack(image, store);
    RequireInvariants(store, "store after the read-back parse");
    Require(result.ServiceCount >= 0 && result.ServiceCount <= MaxPatServices, "service count read back");
    Require(result.ServiceCount == 0 || result.ServiceCount == store.Svc.SvcCount,
            "services read back and SvcCount disagree");
    Require(result.PatVersion >= -1 && result.PatVersion <= 31, "PAT version read back");
    Require(result.NetNameShown.size() <= static_cast<std::size_t>(MaxNameLength), "network name length");
    Require(result.Messages.size() <= static_cast<std::size_t>(InputCount),
            "one message per PID map at most");
    for (const std::string& message : result.Messages) Require(message == "Error in file.", "message text");

    const ReadBackDisplay shown = DisplayAfterReadBack(store, result);
    Require(shown.BitRate >= 0, "rate shown");
    Require(shown.ProgramNames.size() ==
                (shown.HasServices ? static_cast<std::size_t>(store.Svc.SvcCount) : 0u),
            "one program name per service");
    for (const std::string& name : shown.ProgramNames)
        Require(name.size() <= static_cast<std::size_t>(MaxNameLength), "program name length");
    return result;
}

// "Send Mux": the image of a store that passed the limit check; empty when
// no image can hold it.
inline std::optional<std::vector<uint8_t>> BuildChecked(const ConfigStore& store, int patVersion) {
    if (ImageLimitViolation(store)) return std::nullopt;
    std::vector<uint8_t> image = BuildConfigImage(store, patVersion);
    Require(!image.empty() && image.size() % RecordSize == 0, "image of whole records");
    for (std::size_t at = 0; at < image.size(); at += RecordSize)
        Require(IsRecordStart(image[at]), "record starts with 0x47 or 0xB8");
    return image;
}

} // namespace kv::fuzz
