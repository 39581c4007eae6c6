#pragma once
// Moving configuration images between files and the device: send, capture
// one played-back cycle, compare. Result codes 0..11 as "Send Mux" shows them.

#include <string>

#include "link/command_records.h"

namespace kv {

class SerialChannel;

struct TransferTiming {
    int SilenceMs = 15000; // no record for this long during the read-back: code 3 / "Get" fails
    int LoadWaitMs = 1000; // after the load command
};

// A device that never stops streaming must not hold the tool forever:
// draining stops after this many records ...
inline constexpr int DrainLimitRecords = 4000;
// ... and the header must come round, and come round again, within about one
// cycle more than the largest image a header can describe.
inline constexpr int CycleLimitRecords = 2 * MaxImageRecords;

// Sends an idle command and empties the receive ring until 10 ms pass
// without a record. 0 when the line fell quiet, 1 when it still streamed
// after DrainLimitRecords records.
int SyncLink(SerialChannel& channel);
int SendImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing = {}); // 0, 1
int ReceiveImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing = {}); // 0, 1, 2
int CompareFiles(const std::string& imagePath, const std::string& readBackPath);                     // 0..7
int TransferAndVerify(SerialChannel& channel, const std::string& imagePath, const std::string& readBackPath,
                      const TransferTiming& timing = {}); // 0..11

} // namespace kv
