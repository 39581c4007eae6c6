#pragma once
// Services taken from a capture of an input into the store, as the service
// editor would store them: name, service ID, PMT PID, input PIDs, stream
// types and subtitle settings from the capture; output PIDs the same as the
// input PIDs where free, else the next free ones, so that the multiplex check
// finds no conflict. What does not fit is named, never dropped silently.

#include <string>
#include <vector>

#include "capture/capture.h"
#include "model/config_store.h"

namespace kv {

struct CaptureImport {
    std::vector<std::string> Added;    // names of the services stored
    std::vector<std::string> NotAdded; // "SPORT (service 3): Limited 41 programs per Mux."
    std::vector<std::string>
        Left; // streams not taken: "NEWS: PID 260 (0x0104), private data: no free data box."
};

// The name a capture's service is stored under: its SDT name, trimmed and
// cut to 10 characters; "SID n" without one.
std::string CaptureServiceName(const CaptureService& service);

// Adds the services of `capture` taken on `input` (1..8) whose service IDs are
// in `serviceIds` (all of them when it is empty), in the capture's order.
// A service is refused whole when its name or service ID is already stored,
// when it has no PMT, or when storing it would pass a limit of the editors
// (100 services, 44 PIDs per input) or of the image (41 services, 44 pairs
// per input, 32 adjusted PCRs).
CaptureImport ImportCaptureServices(ConfigStore& store, const Capture& capture, int input,
                                    const std::vector<int>& serviceIds);

} // namespace kv
