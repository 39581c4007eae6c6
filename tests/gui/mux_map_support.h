#pragma once
// Stores for the multiplex map: services added one by one, and a full
// multiplex of 41 services over the eight inputs (its picture comes from
// scripts/screenshots).

#include "model/config_store.h"
#include "tables/tables_test_support.h"

namespace kv::test {

// Appends a service on `input` with PMT `pmt`, video and PCR on `video`
// and `audios` audio streams on the PIDs after it; input and output PIDs
// are equal. Its service ID is its slot + 1.
inline void AddPlayedService(ConfigStore& store, const char* name, int input, int pmt, int video,
                             int audios = 1) {
    const auto pid = [](int value) { return static_cast<int16_t>(value); };
    ServicePids& p = AddService(store, input, static_cast<uint16_t>(store.Svc.SvcCount + 1), pid(pmt), name);
    p.PcrIn = p.PcrOut = p.VideoIn = p.VideoOut = pid(video);
    for (int a = 0; a < audios; ++a) p.Audio[a].PidIn = p.Audio[a].PidOut = pid(video + 1 + a);
}

// 41 services, the most a PAT holds: six on input 1 and five on each other
// input, one to three audio streams and now and then a data stream; a
// teletext ghost on input 3 and one ghost entry that lands on a service's
// audio PID, so the picture shows a conflict.
inline void FillFortyOneServices(ConfigStore& store) {
    static const char* const names[41] = {
        "NEWS",     "SPORT",    "MOVIES", "KIDS",   "MUSIC",      "WEATHER", "DOCS",
        "SERIES",   "CLASSICS", "COMEDY", "TRAVEL", "FOOD",       "HISTORY", "SCIENCE",
        "NATURE",   "CARTOONS", "DRAMA",  "ACTION", "ARENA",      "GOLF",    "TENNIS",
        "RACING",   "FIGHT",    "JAZZ",   "ROCK",   "COUNTRY",    "LATIN",   "OPERA",
        "BUSINESS", "MARKETS",  "WORLD",  "LOCAL",  "PARLIAMENT", "FAITH",   "SHOP",
        "HOME",     "GARDEN",   "AUTO",   "TECH",   "GAMES",      "CINEMA"};
    int slot = 0;
    for (int input = 1; input <= InputCount; ++input) {
        const int services = input == 1 ? 6 : 5;
        for (int k = 0; k < services; ++k, ++slot) {
            const int video = 1000 + 100 * input + 16 * k;
            AddPlayedService(store, names[slot], input, 256 + slot, video, 1 + slot % 3);
            store.Svc.SvcPids[slot].PcrAdjust = slot < 32 ? 1 : 0; // 32 adjusted PCRs at most
            if (slot % 4 == 0) {
                DataSlot& d = store.Svc.SvcPids[slot].Data[0];
                d.PidIn = d.PidOut = static_cast<int16_t>(video + 8);
            }
        }
    }
    AddGhost(store, 3, 1380, 1380);
    AddGhost(store, 7, 600, 1101); // on audio 1 of NEWS
}

} // namespace kv::test
