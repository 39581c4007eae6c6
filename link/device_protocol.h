#pragma once
// The multiplexer's side of the image exchange, without the line: what it
// stores after a load command and what it plays back after a read command.
// The device simulator puts this behind a pseudo-terminal.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kv {

// Ways the simulated device misbehaves, to make every failure path of a
// transfer reproducible.
enum class SimulatorFault {
    None,
    Silent,   // stores images but never plays back
    Corrupt,  // the played-back copy has one byte flipped (never the first two of a record)
    Garbage,  // line noise (neither 0x47 nor 0xB8) before the playback
    Midcycle, // the playback starts in the middle of the image
    Hangup    // the line is closed after a few played-back records
};

// "none", "silent", "corrupt", "garbage", "midcycle", "hangup".
std::optional<SimulatorFault> SimulatorFaultFromName(std::string_view name);

class DeviceProtocol {
  public:
    using Clock = std::chrono::steady_clock;

    explicit DeviceProtocol(SimulatorFault fault = SimulatorFault::None) : fault_(fault) {}

    // The image the device holds at power-up (whole records only).
    void Preload(const std::vector<uint8_t>& image);

    // One record from the tool: a load command opens a new image (its
    // header states the length; without a header the image ends at the next
    // idle or read command, or after a pause); an idle command stops the
    // playback; a read command starts it unless it is running already.
    void OnRecord(const uint8_t* record, Clock::time_point now);

    // An image that came without header ends when the line has been quiet
    // this long after its last record.
    void OnQuiet(Clock::time_point now, std::chrono::milliseconds pause);
    bool AwaitingPause() const { return loading_ && expectedLength_ < 0 && !image_.empty(); }
    Clock::time_point LastLoadRecord() const { return lastLoadRecord_; }

    bool Playing() const { return playing_; }
    // The next bytes to put on the line while playing: the fault's noise
    // first, then one record at a time, round the image in a loop.
    std::vector<uint8_t> NextOutput();
    bool NextOutputIsRecord() const { return !noisePending_; }
    int RecordsPlayed() const { return recordsPlayed_; }

    const std::vector<uint8_t>& Image() const { return image_; }
    int LoadsCompleted() const { return loadsCompleted_; }

  private:
    void TakeLoadRecord(const uint8_t* record);
    void FinishLoad();
    void StartPlayback();

    const SimulatorFault fault_;
    std::vector<uint8_t> image_;
    bool loading_ = false;
    int expectedLength_ = -1; // from the header; -1 while none was seen
    Clock::time_point lastLoadRecord_{};
    int loadsCompleted_ = 0;

    bool playing_ = false;
    bool noisePending_ = false;
    std::vector<uint8_t> playCopy_;
    std::size_t playOffset_ = 0;
    int recordsPlayed_ = 0;
};

} // namespace kv
