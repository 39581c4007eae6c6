#pragma once
// The multiplex checked against captures of its inputs: a configured input
// PID the capture does not carry (error `input-missing`), a stream type
// entered other than the capture's PMT gives (`input-type`), a scrambled
// input PID (`input-scrambled`) and a PCR input PID without PCRs
// (`input-pcr`), all warnings but the first.

#include <string>
#include <vector>

#include "capture/capture.h"
#include "ops/multiplex_check.h"

namespace kv {

struct InputCapture {
    int Input = 1;        // 1..8
    std::string Name;     // how messages name it: "in2.ts"
    const Capture* Taken; // read whole, for the PID statistics
};

// The findings for every service and ghost entry on an input that has a
// capture, added to `report` (errors stay first).
void CheckAgainstCaptures(MultiplexReport& report, const ConfigStore& store,
                          const std::vector<InputCapture>& captures);

} // namespace kv
