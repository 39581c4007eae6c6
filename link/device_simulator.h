#pragma once
// The multiplexer behind a pseudo-terminal: the tool opens the terminal's
// slave side (linked as Config/COMn) as if it were the serial port, and the
// simulator answers on the master side on its own thread. A pseudo-terminal
// neither paces bytes nor has a CTS line, so the simulator paces its
// playback at the line rate itself.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/device_protocol.h"
#include "link/link_record.h"
#include "link/wake_event.h"

namespace kv {

struct SimulatorOptions {
    SimulatorFault Fault = SimulatorFault::None;
    // 188 bytes of 10 bits each at 1 500 000 bit/s: about 800 records per second.
    double RecordsPerSecond = 1500000.0 / (LineRecordSize * 10);
    int HangupAfterRecords = 8; // played-back records before a "hangup" device closes the line
    int LoadPauseMs = 500;      // quiet line that ends an image sent without header
};

class DeviceSimulator {
  public:
    explicit DeviceSimulator(SimulatorOptions options = {});
    ~DeviceSimulator(); // Stop
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // The image the device holds before anything is loaded; false when the
    // file cannot be read.
    bool PreloadImageFile(const std::string& path);
    void PreloadImage(const std::vector<uint8_t>& image);

    // Opens the pseudo-terminal and starts listening. On failure `error`
    // says why.
    bool Start(std::string* error = nullptr);
    // Makes the terminal reachable as port n of the program in appFolder
    // (the link COMn in its Config folder; a stale link there is replaced).
    // Refused while another running simulator holds the lock beside that
    // link; this one holds it until Stop.
    bool LinkAsPort(const std::string& appFolder, int port, std::string* error = nullptr);
    // Ends the thread, closes the terminal and removes the link.
    void Stop();

    const std::string& SlavePath() const { return slavePath_; }
    const std::string& LinkPath() const { return linkPath_; }

    std::vector<uint8_t> StoredImage() const;
    int LoadsCompleted() const;
    bool HungUp() const { return hungUp_; } // a "hangup" device closed its line

  private:
    void Run();
    void CloseTerminal();
    void RemoveLink();

    const SimulatorOptions options_;
    mutable std::mutex protocolMutex_; // the thread's protocol state, read by StoredImage
    DeviceProtocol protocol_;
    int master_ = -1;
    int slave_ = -1; // held open (never locked) so the master sees no hangup between tool sessions
    std::string slavePath_;
    std::string linkPath_;
    int linkLock_ = -1; // Config/COMn.lock, locked while the link is ours
    WakeEvent wake_;
    std::thread thread_;
    std::atomic<bool> hungUp_{false};
};

} // namespace kv
