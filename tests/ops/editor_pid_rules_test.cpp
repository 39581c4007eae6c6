// The editors' refusal of an output PID already taken, and the shares they let through.
#include <gtest/gtest.h>

#include <string>

#include "ops/editor_pid_rules.h"
#include "tables/tables_test_support.h"

namespace kv {
namespace {

// NEWS on IN 1: PMT 256, PCR and video 64 -> 512, audio 1 65 -> 513.
std::unique_ptr<ConfigStore> NewsStore() {
    auto store = test::ZeroStore();
    ServicePids& p = test::AddService(*store, 1, 1, 0x100, "NEWS");
    p.PcrIn = p.VideoIn = 64;
    p.PcrOut = p.VideoOut = 512;
    p.Audio[0].PidIn = 65;
    p.Audio[0].PidOut = 513;
    return store;
}

TEST(EditorPidRules, ServiceEntryRefusedOnATakenPidAndTakenOnAShare) {
    struct Case {
        const char* name;
        int input;
        const char* pmt;
        const char* videoIn;
        const char* videoOut;
        const char* audioIn;
        const char* audioOut;
        Radix radix;
        bool replacesNews;
        int box; // PmtBox, a stream index, or 99: taken
        const char* message;
    };
    const Case cases[] = {
        {"video on NEWS's video from another input", 2, "300", "64", "512", "66", "600", Radix::Decimal,
         false, StreamIndex(StreamKind::Video, 0), "Output PID 512 is already used by NEWS (video)."},
        {"audio on another input PID of the same input", 1, "300", "70", "700", "66", "513", Radix::Decimal,
         false, StreamIndex(StreamKind::Audio, 0), "Output PID 513 is already used by NEWS (audio 1)."},
        {"PMT on NEWS's PMT, in hexadecimal", 2, "0100", "", "", "42", "0300", Radix::Hexadecimal, false,
         PmtBox, "Output PID 0100 is already used by the PMT of NEWS."},
        {"audio on NEWS's PMT", 2, "300", "", "", "66", "256", Radix::Decimal, false,
         StreamIndex(StreamKind::Audio, 0), "Output PID 256 is already used by the PMT of NEWS."},
        {"NEWS's audio shared by a second program", 1, "300", "70", "700", "65", "513", Radix::Decimal, false,
         99, ""},
        {"NEWS stored again over itself", 1, "256", "64", "512", "65", "513", Radix::Decimal, true, 99, ""},
    };
    const auto store = NewsStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServiceEntry e;
        e.Name = c.replacesNews ? "NEWS" : "SPORT";
        e.Input = c.input;
        e.ServiceId = "2";
        e.PmtPid = c.pmt;
        e.VideoIn = c.videoIn;
        e.VideoOut = c.videoOut;
        e.AudioIn[0] = c.audioIn;
        e.AudioOut[0] = c.audioOut;
        const ServiceSlot slot{c.replacesNews, c.replacesNews ? 0 : 1, c.replacesNews ? 1 : 2};
        const auto refusal = ServiceEntryPidRefusal(*store, e, c.radix, slot);
        if (c.box == 99) {
            EXPECT_FALSE(refusal) << refusal->Message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->Box, c.box);
        EXPECT_EQ(refusal->Message, c.message);
    }
}

TEST(EditorPidRules, GhostRowRefusedOnATakenPid) {
    struct Case {
        const char* in;
        const char* out;
        const char* message; // nullptr: taken
    };
    const Case cases[] = {
        {"18", "18", nullptr},  // an input's EIT passed through
        {"65", "513", nullptr}, // NEWS's audio passed again from its own source
        {"90", "513", "Output PID 513 is already used by NEWS (audio 1)."},
        {"90", "0", "Output PID 0 is already used by the PAT."},
        {"91", "700", "Output PID 700 is already used by a ghost entry (IN 1, PID 90)."},
    };
    const auto store = NewsStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.in) + " -> " + c.out);
        GhostRows rows;
        ASSERT_EQ(rows.Add(*store, -1, 1, "90", "700", Radix::Decimal).Refusal, nullptr);
        const GhostAddOutcome added = rows.Add(*store, -1, 1, c.in, c.out, Radix::Decimal);
        ASSERT_EQ(added.Refusal, nullptr);
        const auto refusal = GhostRowPidRefusal(*store, rows, added.Row, Radix::Decimal);
        if (!c.message) {
            EXPECT_FALSE(refusal) << *refusal;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(*refusal, c.message);
    }
}

} // namespace
} // namespace kv
