#pragma once
// Moving configuration images between files and the device: send, capture
// one played-back cycle, compare. Result codes 0..11 as "Send Mux" shows them.

#include <functional>
#include <string>

namespace kv {

class SerialChannel;

// What a transfer saw, for the explanation of its result.
struct TransferNotes {
    bool LoadStarted = false; // the load command went out: the device may hold part of an image
    bool Loaded = false;      // every record of the image went out
    int RecordsSeen = 0;      // records the device played while the read-back waited and captured
    bool HeaderSeen = false;  // one of them was a configuration header
};

struct TransferTiming {
    int SilenceMs = 15000; // no record for this long during the read-back: code 3 / "Get" fails
    int LoadWaitMs = 1000; // after the load command
    // Told which step runs ("Sending", "Waiting for the header", "Capturing")
    // and the records of that step so far; none by default. Called on the
    // thread that runs the transfer.
    std::function<void(const char* step, int records)> Progress{};
    TransferNotes* Notes = nullptr; // filled in when given
};

// The result of "Send Mux"'s transfer; the number is the one "Error N" shows.
enum class TransferResult : int {
    Ok = 0,
    ImageNotWritten = 1,    // the image file could not be written or opened
    ReadBackNotWritten = 2, // the read-back file could not be created
    NoPlayback = 3,         // the device stayed silent or played no full cycle
    ImageUnreadable = 4,
    ReadBackUnreadable = 5,
    SizeDiffers = 6,
    TooLarge = 7,
    NoMemoryForImage = 8,
    NoMemoryForReadBack = 9,
    ContentDiffers = 10,
    LinkLost = 11,
    // A stop was requested (stop_request.h): the transfer ended at its next
    // step. Never shown as a number; the caller says what was interrupted.
    Interrupted = 12,
};

constexpr int ResultCode(TransferResult result) {
    return static_cast<int>(result);
}

// A transfer ends at its next step when a stop is requested or the link is
// lost; it sends nothing more then (a lost port is not reopened within it).
//
// Sends an idle command and empties the receive ring until 10 ms pass
// without a record. 0 when the line fell quiet, 1 when it still streamed
// after a few thousand records.
int SyncLink(SerialChannel& channel);
int SendImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing = {}); // 0, 1
// The read-back file is replaced only by a whole cycle: on any failure the
// file of the last capture stays as it was.
int ReceiveImage(SerialChannel& channel, const std::string& path,
                 const TransferTiming& timing = {});                             // 0, 1, 2
int CompareFiles(const std::string& imagePath, const std::string& readBackPath); // 0..7
TransferResult TransferAndVerify(SerialChannel& channel, const std::string& imagePath,
                                 const std::string& readBackPath, const TransferTiming& timing = {});

} // namespace kv
