// The explanations tell apart what the device did, and what an interrupted
// transfer left on it.
#include <gtest/gtest.h>

#include <string>

#include "ops/transfer_explanations.h"

namespace kv {
namespace {

TEST(TransferExplanations, NoPlaybackSaysWhatTheDeviceSent) {
    struct Case {
        TransferNotes notes;
        const char* says;
    };
    const Case cases[] = {
        {{}, "no configuration header within 15 s: the device sent nothing at all."},
        {{.RecordsSeen = 40},
         "no configuration header within 15 s: the device sent 40 records but no configuration"},
        {{.RecordsSeen = 5, .HeaderSeen = true}, "the device played its header but fell silent for 15 s"},
    };
    for (const Case& c : cases) {
        const std::string error3 = ExplainTransferResult(TransferResult::NoPlayback, c.notes, 15000);
        EXPECT_TRUE(error3.starts_with(c.says)) << error3;
        EXPECT_EQ(ExplainCaptureFailure(c.notes, false, 15000), error3) << "Get says the same";
    }
    // A lost line is the line's fault, whatever came before.
    EXPECT_EQ(ExplainCaptureFailure({.RecordsSeen = 8, .HeaderSeen = true}, true, 15000),
              ExplainTransferResult(TransferResult::LinkLost, {}, 15000));
    for (int code = 1; code <= 11; ++code)
        EXPECT_FALSE(ExplainTransferResult(static_cast<TransferResult>(code), {}, 15000).empty()) << code;
}

TEST(TransferExplanations, AnInterruptedSendSaysWhetherTheDeviceMayHoldPartOfAnImage) {
    struct Case {
        TransferKind kind;
        TransferNotes notes;
        const char* says;
    };
    const Case cases[] = {
        {TransferKind::Send, {}, "interrupted before loading: the device keeps its configuration"},
        {TransferKind::Send,
         {.LoadStarted = true},
         "interrupted while loading: the device may hold an incomplete configuration; send again"},
        {TransferKind::Send, {.LoadStarted = true, .Loaded = true}, "interrupted while verifying"},
        {TransferKind::ReadBack, {.RecordsSeen = 3}, "interrupted while reading back: nothing was changed"},
    };
    for (const Case& c : cases) EXPECT_TRUE(InterruptionText(c.kind, c.notes).starts_with(c.says)) << c.says;
}

} // namespace
} // namespace kv
