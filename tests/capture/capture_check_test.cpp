// The multiplex checked against the captures of its inputs.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "capture/capture_support.h"
#include "ops/capture_check.h"
#include "ops/capture_import.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

TEST(CaptureCheck, FindsWhatTheCaptureOfTheInputDoesNotCarry) {
    struct Case {
        const char* what;
        std::function<void(ConfigStore&, Capture&)> change;
        std::vector<std::string> findings; // "code: message"
    } cases[] = {
        {"services as they came from the capture", [](ConfigStore&, Capture&) {}, {}},
        {"a mistyped video PID",
         [](ConfigStore& s, Capture&) { s.Svc.SvcPids[0].VideoIn = 80; },
         {"input-missing: IN 2 PID 80 (0x0050), video of NEWS, is not in in2.ts."}},
        {"a ghost PID the input lacks",
         [](ConfigStore& s, Capture&) { test::AddGhost(s, 2, 0x99, 0x999); },
         {"input-missing: IN 2 PID 153 (0x0099), ghost to output PID 2457 (0x0999), is not in in2.ts."}},
        {"MPEG-2 audio entered for MPEG-1",
         [](ConfigStore& s, Capture&) { s.Svc.SvcPids[0].Audio[0].Type = 1; },
         {"input-type: IN 2 PID 257 (0x0101), audio 1 of NEWS, is entered as stream type 0x04; in2.ts "
          "carries "
          "stream type 0x03 (MPEG-1 audio)."}},
        {"a scrambled audio",
         [](ConfigStore&, Capture& c) { const_cast<CapturePid*>(c.Pid(513))->Scrambled = 40; },
         {"input-scrambled: IN 2 PID 513 (0x0201), audio 1 of SPORT, is scrambled in in2.ts (40 of 100 "
          "packets)."}},
        {"a PCR PID without PCRs",
         [](ConfigStore&, Capture& c) { const_cast<CapturePid*>(c.Pid(768))->Pcrs = 0; },
         {"input-pcr: IN 2 PID 768 (0x0300), PCR of RADIO, carries no PCR in in2.ts."}},
        {"the services on another input", [](ConfigStore& s, Capture&) { s.Svc.SvcInput[0] = 3; }, {}},
    };
    for (const Case& c : cases) {
        auto store = test::ZeroStore();
        Capture capture = test::ThreeServiceCapture();
        ASSERT_EQ(ImportCaptureServices(*store, capture, 2, {}).Added.size(), 3u);
        c.change(*store, capture);
        MultiplexReport report;
        CheckAgainstCaptures(report, *store, {{2, "in2.ts", &capture}});
        std::vector<std::string> found;
        for (const Finding& f : report.Findings) found.push_back(f.Code + ": " + f.Message);
        EXPECT_EQ(found, c.findings) << c.what;
    }
}

} // namespace
} // namespace kv
