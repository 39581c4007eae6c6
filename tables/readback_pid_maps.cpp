// Step 8 of the read-back: a PID map record back into input PIDs and ghost entries.
#include <algorithm>

#include "model/service_streams.h"
#include "tables/image_layout.h"
#include "tables/readback_steps.h"
#include "tables/record_io.h"

namespace kv {

void ReadBackPidMap(std::span<const uint8_t> record, int a, ConfigStore& store, StreamSources& sources) {
    ServiceBlock& sb = store.Svc;
    GhostBlock& gb = store.Ghost;
    const RecordReader r(record);
    const auto input = static_cast<int16_t>(a + 1);
    const int services = std::clamp<int>(sb.SvcCount, 0, MaxServices);
    for (int k = 0; k < PidMapPairs; ++k) {
        const auto in = static_cast<int16_t>(r.pid(PidMapPairAt(k)));
        const auto out = static_cast<int16_t>(r.pid(PidMapPairAt(k) + 2));
        if (out == PidNone && sb.SvcCount > 0) return; // end of the used pairs

        const std::pair<int, int> source{input, in};
        bool claimed = false;
        for (int j = 0; j < services; ++j) {
            // Every stream on this output PID takes the pair, the PCR too: a PCR
            // pair belongs to the service whose PCR output PID it is, whatever
            // the service before it on this input carried.
            const auto streams = StreamsOf(sb.SvcPids[j]);
            for (std::size_t k = 0; k < streams.size(); ++k) {
                std::optional<std::pair<int, int>>& taken = sources.Taken[j][k];
                if (streams[k].PidOut != out || (taken && *taken != source)) continue;
                taken = source;
                sb.SvcInput[j] = input;
                streams[k].PidIn = in;
                claimed = true;
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
