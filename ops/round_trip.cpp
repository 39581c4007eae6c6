#include "ops/round_trip.h"

#include <algorithm>
#include <memory>

#include "model/service_streams.h"
#include "ops/output_pid_uses.h"
#include "ops/readback_display.h"
#include "tables/image_writer.h"

namespace kv {

void SetAsideWhatNoImageCarries(ConfigStore& store) {
    if (ServicesOf(store) == 0) {
        store.Svc.TsId = 0;
        store.Svc.NetName[0] = '\0';
    }
    for (int i = 0; i < ServicesOf(store); ++i) {
        const auto streams = StreamsOf(store.Svc.SvcPids[i]);
        if (std::none_of(streams.begin(), streams.end(), [](const StreamRef& s) { return HasStream(s); }))
            store.Svc.SvcInput[i] = 0;
    }
}

MultiplexDiff RoundTripDiff(const ConfigStore& sent, int patVersion) {
    auto carried = std::make_unique<ConfigStore>(sent);
    SetAsideWhatNoImageCarries(*carried);
    const auto readBack =
        std::make_unique<ConfigStore>(DecodeImageToProject(BuildConfigImage(sent, patVersion)));
    SetAsideWhatNoImageCarries(*readBack);
    return DiffMultiplex(*carried, *readBack);
}

} // namespace kv
