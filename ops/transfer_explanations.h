#pragma once
// What a failed transfer means and what to check, from one catalogue. The
// operator's message stays as it is ("Error 3", "Mux memory is empty!"); the
// window puts the explanation in the message box's detailed text, the command
// line on the line that follows. One failure, one explanation.

#include <string>

#include "link/transfer.h"

namespace kv {

// "Error N" of "Send Mux". `silenceMs`: the silence that ended a read-back.
std::string ExplainTransferResult(TransferResult result, const TransferNotes& notes, int silenceMs);

// "Mux memory is empty!" of "Get": why nothing was captured. `linkLost`: the
// channel was no longer connected afterwards.
std::string ExplainCaptureFailure(const TransferNotes& notes, bool linkLost, int silenceMs);

enum class TransferKind { Send, ReadBack };

// What an interrupted transfer leaves on the device, such as "interrupted
// while loading: the device may hold an incomplete configuration; send again".
std::string InterruptionText(TransferKind kind, const TransferNotes& notes);

} // namespace kv
