#include "ops/transfer_explanations.h"

namespace kv {
namespace {

std::string Seconds(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

constexpr const char* CheckConfigFolder =
    "check that the Config folder can be written and the disk is not full";
constexpr const char* LineFailed =
    "the line failed during the transfer: the port went away (an unplugged adapter) or the device hung up; "
    "plug it back in and Connect again";

// No whole cycle came back: told apart by what did come.
std::string NothingCaptured(const TransferNotes& notes, int silenceMs) {
    if (notes.RecordsSeen == 0)
        return "no configuration header within " + Seconds(silenceMs) +
               ": the device sent nothing at all. Is it powered, on this port, and the cable's RTS/CTS "
               "wired?";
    if (!notes.HeaderSeen)
        return "no configuration header within " + Seconds(silenceMs) + ": the device sent " +
               std::to_string(notes.RecordsSeen) +
               " records but no configuration (its memory holds none, or the line garbles the header); "
               "send the configuration again, check the cable";
    return "the device played its header but fell silent for " + Seconds(silenceMs) +
           " before one full cycle; check the cable and send again";
}

} // namespace

std::string ExplainTransferResult(TransferResult result, const TransferNotes& notes, int silenceMs) {
    switch (result) {
    case TransferResult::Ok:
    case TransferResult::Interrupted:
        return "";
    case TransferResult::ImageNotWritten:
        return std::string("the image file could not be written or opened: ") + CheckConfigFolder;
    case TransferResult::ReadBackNotWritten:
        return std::string("the read-back file could not be written: ") + CheckConfigFolder;
    case TransferResult::NoPlayback:
        return NothingCaptured(notes, silenceMs);
    case TransferResult::ImageUnreadable:
    case TransferResult::ReadBackUnreadable:
        return "the image or the read-back file could not be opened for the comparison: " +
               std::string(CheckConfigFolder);
    case TransferResult::SizeDiffers:
        return "the device played back an image of another length than the one loaded: "
               "send again, check the cable";
    case TransferResult::TooLarge:
        return "the image is larger than the 32000 bytes the comparison takes";
    case TransferResult::NoMemoryForImage:
    case TransferResult::NoMemoryForReadBack:
        return "no memory for the comparison: close other programs and send again";
    case TransferResult::ContentDiffers:
        return "the device played back something other than what was loaded: send again, check the cable";
    case TransferResult::LinkLost:
        return LineFailed;
    }
    return "";
}

std::string ExplainCaptureFailure(const TransferNotes& notes, bool linkLost, int silenceMs) {
    return linkLost ? LineFailed : NothingCaptured(notes, silenceMs);
}

std::string InterruptionText(TransferKind kind, const TransferNotes& notes) {
    if (kind == TransferKind::ReadBack)
        return "interrupted while reading back: nothing was changed; the device keeps its configuration";
    if (!notes.LoadStarted) return "interrupted before loading: the device keeps its configuration";
    if (!notes.Loaded)
        return "interrupted while loading: the device may hold an incomplete configuration; send again";
    return "interrupted while verifying: the configuration was loaded but not checked; send again to verify "
           "it";
}

} // namespace kv
