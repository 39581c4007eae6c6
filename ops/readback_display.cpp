#include "ops/readback_display.h"

#include <algorithm>
#include <cstring>

#include "model/bounded_text.h"
#include "ops/bit_rate_entry.h"
#include "tables/rate.h"

namespace kv {

ReadBackDisplay DisplayAfterReadBack(const ConfigStore& store, const ReadBackResult& r) {
    ReadBackDisplay shown;
    shown.HasServices = r.ServiceCount > 0;
    shown.NetName = r.NetNameShown;
    const int16_t* gaps = shown.HasServices ? store.Svc.RateGaps : store.Ghost.GhostRateGaps;
    const int16_t stuff = shown.HasServices ? store.Svc.RateStuff : store.Ghost.GhostRateStuff;
    shown.BitRate = EffectiveBitRate(gaps, stuff);
    shown.PackMode = stuff == 0;
    shown.TsIdText = std::to_string(store.Svc.TsId);
    if (shown.HasServices) {
        const int services = std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
        for (int i = 0; i < services; ++i) {
            shown.ProgramNames.emplace_back(BoundedText(store.Svc.SvcInfo[i].Name));
        }
    }
    return shown;
}

ConfigStore DecodeImageToProject(const std::vector<uint8_t>& image, ReadBackResult* result) {
    // A freshly started program: every byte zero, counts 0.
    ConfigStore store;
    std::memset(&store, 0, sizeof store);
    const ReadBackResult parsed = ParseReadBack(image, store);
    const ReadBackDisplay shown = DisplayAfterReadBack(store, parsed);

    // "Save" takes TsId and BitRate from the boxes; "Get" fills the TSID box
    // only when it read services, so otherwise the box is still empty.
    store.Svc.TsId = shown.HasServices ? static_cast<uint16_t>(AtolText(shown.TsIdText)) : 0;
    store.Svc.BitRate = AtolText(std::to_string(shown.BitRate));
    if (result) *result = parsed;
    return store;
}

} // namespace kv
