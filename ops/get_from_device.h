#pragma once
// "Get": the device plays its image back into the read-back file, the image
// is parsed into the store, and the boxes show what was read.

#include <string>

#include "link/transfer.h"
#include "ops/device_files.h"
#include "ops/readback_display.h"
#include "tables/readback_parse.h"

namespace kv {

class SerialChannel;

struct CaptureResult {
    bool Captured = false; // one full cycle is in the read-back file
    std::string Problem;   // why the Config folder cannot be written
};

// Captures one played-back cycle into the read-back file. Nothing is
// captured without a channel or a writable Config folder. Safe to run off
// the GUI thread.
CaptureResult CaptureFromDevice(SerialChannel* channel, const DeviceFiles& files,
                                const TransferTiming& timing);

struct ReadBackOutcome {
    ReadBackResult Parsed; // a read-back file that cannot be read parses as no services
    ReadBackDisplay Shown;
};

// Parses the captured read-back file into the store (a bounded read of
// untrusted device bytes; the parse checks every offset).
ReadBackOutcome ReadBackIntoStore(ConfigStore& store, const std::string& readBackFile);

} // namespace kv
