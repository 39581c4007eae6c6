#pragma once
// "Send Mux": the bit-rate box's exit steps, the TSID and network name, the
// image limits, then the image file and its transfer to the device with the
// read-back compared. The window and the command line both go this way.

#include <cstdint>
#include <optional>
#include <string>

#include "link/transfer.h"
#include "model/config_store.h"
#include "ops/device_files.h"

namespace kv {

class SerialChannel;

// What "Send Mux" takes from the boxes. A field left out keeps the store's
// own value: the command line sends a project as stored unless --rate is
// given.
struct SendMuxEntry {
    std::optional<std::string> RateText{}; // as typed in the bit-rate box
    bool ByteMode = true;
    std::optional<std::string> TsIdText{};
    std::optional<std::string> NetName{}; // Latin-1
};

struct SendMuxCheck {
    enum class Outcome {
        Ready,          // the store is ready to build
        RateIgnored,    // empty box or 0: Warning is the mode's range
        RateOutOfRange, // Warning is the mode's range
        OverLimit       // Warning is the limit the image would break
    };
    Outcome outcome = Outcome::Ready;
    std::optional<int32_t> ShownRate; // the effective rate the bit-rate box shows now
    std::string Warning;
};

// Applies the entry to the store in "Send Mux"'s order and checks the image
// limits. A rate the device cannot be paced at, an empty box or 0 included,
// is refused before anything else changes: the image would carry a pacing
// table that does not belong to the box.
SendMuxCheck PrepareSendMux(ConfigStore& store, const SendMuxEntry& entry);

// Each send carries the next PAT version, 31 wrapping to 0.
inline int NextPatVersion(int patVersion) {
    return (patVersion + 1) & 0x1F;
}

struct SendMuxResult {
    TransferResult Result = TransferResult::Ok;
    std::string Problem; // why the Config folder cannot be written, for ImageNotWritten
};

// Writes the store's image to the image file and, with a channel, sends it,
// has the device play it back and compares. An image that cannot be written
// is ImageNotWritten and nothing is sent; without a channel only the file is
// written. Safe to run off the GUI thread on a store nobody else changes.
SendMuxResult SendMuxImage(const ConfigStore& store, int patVersion, const DeviceFiles& files,
                           SerialChannel* channel, const TransferTiming& timing);

} // namespace kv
