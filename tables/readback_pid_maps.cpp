// Step 8 of the read-back: a PID map record back into input PIDs and ghost entries.
#include <algorithm>

#include "model/service_streams.h"
#include "tables/image_layout.h"
#include "tables/readback_steps.h"
#include "tables/record_io.h"

namespace kv {

void ReadBackPidMap(std::span<const uint8_t> record, int a, ConfigStore& store) {
    ServiceBlock& sb = store.Svc;
    GhostBlock& gb = store.Ghost;
    const RecordReader r(record);
    const auto input = static_cast<int16_t>(a + 1);
    const int services = std::clamp<int>(sb.SvcCount, 0, MaxServices);
    // A PCR pair is taken by one service only, until a video pair frees the latch.
    bool pcrLatched = false;
    for (int k = 0; k < PidMapPairs; ++k) {
        const auto in = static_cast<int16_t>(r.pid(PidMapPairAt(k)));
        const auto out = static_cast<int16_t>(r.pid(PidMapPairAt(k) + 2));
        if (out == PidNone && sb.SvcCount > 0) return; // end of the used pairs

        bool claimed = false;
        for (int j = 0; j < services; ++j) {
            ServicePids& q = sb.SvcPids[j];
            auto claim = [&](int16_t& pidIn) {
                sb.SvcInput[j] = input;
                pidIn = in;
                claimed = true;
            };
            for (const StreamRef& s : StreamsOf(q)) {
                if (s.PidOut != out || (s.Kind == StreamKind::Pcr && pcrLatched)) continue;
                claim(s.PidIn);
                if (s.Kind == StreamKind::Pcr) pcrLatched = true;
                if (s.Kind == StreamKind::Video) pcrLatched = false;
            }
        }
        if (!claimed && in < PidNone && out < PidNone && gb.GhostCount < MaxGhosts) {
            gb.GhostInput[gb.GhostCount] = input;
            gb.GhostPidIn[gb.GhostCount] = in;
            gb.GhostPidOut[gb.GhostCount] = out;
            ++gb.GhostCount;
        }
    }
}

} // namespace kv
