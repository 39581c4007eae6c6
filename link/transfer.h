#pragma once
// Moving configuration images between files and the device: send, capture
// one played-back cycle, compare. Result codes 0..11 as "Send Mux" shows them.

#include <string>

namespace kv {

class SerialChannel;

struct TransferTiming {
    int SilenceMs = 15000; // no record for this long during the read-back: code 3 / "Get" fails
    int LoadWaitMs = 1000; // after the load command
    // Told which step runs ("Sending", "Waiting for the header", "Capturing")
    // and the records of that step so far; none by default.
    void (*Progress)(const char* step, int records) = nullptr;
};

// Sends an idle command and empties the receive ring until 10 ms pass
// without a record. 0 when the line fell quiet, 1 when it still streamed
// after a few thousand records.
int SyncLink(SerialChannel& channel);
int SendImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing = {}); // 0, 1
int ReceiveImage(SerialChannel& channel, const std::string& path,
                 const TransferTiming& timing = {});                             // 0, 1, 2
int CompareFiles(const std::string& imagePath, const std::string& readBackPath); // 0..7
int TransferAndVerify(SerialChannel& channel, const std::string& imagePath, const std::string& readBackPath,
                      const TransferTiming& timing = {}); // 0..11

} // namespace kv
