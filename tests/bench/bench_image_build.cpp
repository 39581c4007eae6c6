// Time to build the configuration image of 41 services with every stream
// present (video, four AC-3 audios, two subtitle streams: the largest image,
// 61 records). Prints the mean per build.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tables/image_writer.h"

namespace {

std::unique_ptr<kv::ConfigStore> FullStore() {
    auto store = std::make_unique<kv::ConfigStore>();
    std::memset(store.get(), 0, sizeof(kv::ConfigStore));
    kv::ServiceBlock& sb = store->Svc;
    sb.SvcCount = 41;
    std::strcpy(sb.NetName, "Network");
    for (int i = 0; i < 41; ++i) {
        const auto base = static_cast<int16_t>(0x100 + 8 * i);
        sb.SvcInput[i] = static_cast<int16_t>(1 + i % 8);
        sb.SvcPmtPid[i] = static_cast<int16_t>(0x1000 + i);
        sb.SvcInfo[i].ServiceId = static_cast<uint16_t>(i + 1);
        const std::string name = "Prog " + std::to_string(i);
        std::strcpy(sb.SvcInfo[i].Name, name.c_str());
        std::strcpy(sb.SvcInfo[i].Provider, "Network");
        kv::ServicePids& p = sb.SvcPids[i];
        p.PmtPid = sb.SvcPmtPid[i];
        p.ServiceId = sb.SvcInfo[i].ServiceId;
        p.VideoIn = p.VideoOut = base;
        // Input 1 carries six services: their PCR pairs would pass the 44 pairs of its map.
        p.PcrIn = p.PcrOut = sb.SvcInput[i] == 1 ? kv::PidNone : base;
        p.VideoType = static_cast<int16_t>(i % 3);
        for (int a = 0; a < kv::AudioSlots; ++a)
            p.Audio[a] = {4, static_cast<int16_t>(base + 1 + a), static_cast<int16_t>(base + 1 + a), 0, 0};
        for (int d = 0; d < kv::DataSlots; ++d) {
            p.Data[d].PidIn = p.Data[d].PidOut = static_cast<int16_t>(base + 5 + d);
            p.Data[d].DataType = static_cast<int16_t>(d);
            p.Data[d].SubEnable = 1;
            std::strcpy(p.Data[d].SubLang, "eng");
            p.Data[d].SubType = 0x10;
        }
        p.PcrAdjust = i < 32;
        p.GenPmt = 1;
    }
    return store;
}

} // namespace

int main() {
    const auto store = FullStore();
    if (const auto refusal = kv::ImageLimitViolation(*store)) {
        std::printf("store refused: %s\n", refusal->c_str());
        return 1;
    }
    constexpr int iterations = 20000;
    std::size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < iterations; ++k) bytes += kv::BuildConfigImage(*store, k & 0x1F).size();
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("image of 41 services, every stream present: %zu bytes\n", bytes / iterations);
    std::printf("%d builds in %.1f ms: %.2f us per build\n", iterations, elapsed.count() / 1000.0,
                elapsed.count() / iterations);
    return 0;
}
