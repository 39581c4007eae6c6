// Services from a capture into the store: as the service editor stores them,
// output PIDs the input PIDs where free and the next free ones where not,
// and what does not fit named.
#include <gtest/gtest.h>

#include <string>

#include "capture/capture_support.h"
#include "ops/capture_import.h"
#include "ops/multiplex_check.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

TEST(CaptureImport, StoresServicesAsTheEditorWouldAndMovesTakenPids) {
    auto store = test::ZeroStore();
    ServicePids& old = test::AddService(*store, 1, 7, 0x20, "OLD", "");
    old.VideoIn = 0x40;
    old.VideoOut = 257; // NEWS's audio PID is taken on the output
    const CaptureImport result =
        ImportCaptureServices(*store, test::ThreeServiceCapture(), 2, {101, 202, 303});
    EXPECT_EQ(result.Added, (std::vector<std::string>{"NEWS", "SPORT", "RADIO"}));
    EXPECT_TRUE(result.NotAdded.empty() && result.Left.empty());
    ASSERT_EQ(store->Svc.SvcCount, 4);

    const ServicePids& news = store->Svc.SvcPids[1];
    EXPECT_EQ(store->Svc.SvcInput[1], 2);
    EXPECT_STREQ(store->Svc.SvcInfo[1].Name, "NEWS");
    EXPECT_EQ(news.ServiceId, 101);
    EXPECT_EQ(store->Svc.SvcInfo[1].ServiceId, 101);
    EXPECT_EQ(news.PmtPid, 4096);
    EXPECT_EQ(store->Svc.SvcPmtPid[1], 4096);
    EXPECT_EQ(news.VideoType, 1); // H.264
    EXPECT_EQ(news.VideoIn, 256);
    EXPECT_EQ(news.VideoOut, 256);
    EXPECT_EQ(news.PcrIn, 256);
    EXPECT_EQ(news.PcrOut, 256);
    EXPECT_EQ(news.Audio[0].PidIn, 257);
    EXPECT_EQ(news.Audio[0].PidOut, 258); // the next free PID
    EXPECT_EQ(news.Audio[1].PidOut, PidNone);

    const ServicePids& sport = store->Svc.SvcPids[2];
    EXPECT_EQ(sport.VideoType, 0);
    EXPECT_EQ(sport.Audio[1].Type, 4); // AC-3 as private data with its descriptor
    EXPECT_EQ(sport.Data[0].PidIn, 515);
    EXPECT_EQ(sport.Data[0].SubEnable, 1);
    EXPECT_STREQ(sport.Data[0].SubLang, "por");
    EXPECT_EQ(sport.Data[0].SubType, 0x10);

    const ServicePids& radio = store->Svc.SvcPids[3];
    EXPECT_EQ(radio.PcrIn, 768);
    EXPECT_EQ(radio.PcrOut, radio.Audio[0].PidOut);
    EXPECT_EQ(radio.VideoOut, PidNone);
    EXPECT_EQ(CheckMultiplex(*store).Errors(), 0);
}

TEST(CaptureImport, WhatDoesNotFitIsNamed) {
    struct Case {
        const char* what;
        void (*prepare)(ConfigStore&);
        std::vector<std::string> added;
        std::string firstRefusal;
    } cases[] = {
        {"the image holds 41 services",
         [](ConfigStore& s) {
             for (int k = 0; k < 40; ++k)
                 test::AddService(s, 1, static_cast<uint16_t>(k + 1), static_cast<int16_t>(0x30 + k),
                                  ("S" + std::to_string(k)).c_str(), "");
         },
         {"NEWS"},
         "SPORT (service 202): Limited 41 programs per Mux."},
        {"44 PIDs per input",
         [](ConfigStore& s) {
             for (int j = 0; j < 39; ++j) {
                 s.Ghost.GhostInput[j] = 2;
                 s.Ghost.GhostPidIn[j] = s.Ghost.GhostPidOut[j] = static_cast<int16_t>(0x1000 + 0x10 + j);
             }
             s.Ghost.GhostCount = 39; // NEWS makes 41, SPORT would make 45, RADIO makes 42 (44 pairs)
         },
         {"NEWS", "RADIO"},
         "SPORT (service 202): Limited 44 Pid per IN."},
        {"a name already stored",
         [](ConfigStore& s) { test::AddService(s, 1, 9, 0x30, "SPORT", ""); },
         {"NEWS", "RADIO"},
         "SPORT (service 202): A service named SPORT is already in the list."},
        {"a service ID already used",
         [](ConfigStore& s) { test::AddService(s, 1, 303, 0x30, "OTHER", ""); },
         {"NEWS", "SPORT"},
         "RADIO (service 303): Service ID 303 is already used by OTHER."},
    };
    for (const Case& c : cases) {
        auto store = test::ZeroStore();
        c.prepare(*store);
        const int before = store->Svc.SvcCount;
        const CaptureImport result = ImportCaptureServices(*store, test::ThreeServiceCapture(), 2, {});
        EXPECT_EQ(result.Added, c.added)
            << c.what << ": " << (result.NotAdded.empty() ? "" : result.NotAdded.back());
        ASSERT_FALSE(result.NotAdded.empty()) << c.what;
        EXPECT_EQ(result.NotAdded.front(), c.firstRefusal) << c.what;
        EXPECT_EQ(result.Added.size() + result.NotAdded.size(), 3u) << c.what;
        EXPECT_EQ(store->Svc.SvcCount, before + static_cast<int>(c.added.size())) << c.what;
    }
}

} // namespace
} // namespace kv
