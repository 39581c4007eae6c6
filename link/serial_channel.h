#pragma once
// The serial channel to the multiplexer: one port, fixed line settings, one
// receive thread that cuts the byte stream into 188-byte records and queues
// them in a ring the GUI thread drains.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "link/channel_error.h"
#include "link/link_record.h"
#include "link/receive_ring.h"
#ifndef _WIN32
#include "link/wake_event.h"
#endif

namespace kv {

struct ChannelOptions {
    // The receive thread waits this long after the port opens before it
    // starts reading (what arrives meanwhile waits in the driver).
    int StartupDelayMs = 1000;
};

// Why the last open failed: the device path tried and the error number (0
// when the port answered but would not keep the line settings); on Windows
// the system's error code (GetLastError).
struct PortFailure {
    std::string DevicePath;
    int Errno = 0;
};

// "PATH: reason", with the hint for a user not allowed to use serial ports.
std::string PortFailureDetail(const PortFailure& failure);

class SerialChannel {
  public:
    // Told why a port could not be used; the window turns it into its
    // error box, the command line prints it.
    using ErrorReporter = std::function<void(const ChannelError& error)>;

    // appFolder: where Config/COMn is looked for (model/app_paths.h).
    SerialChannel(std::string appFolder, ErrorReporter reportError, ChannelOptions options = {});
    ~SerialChannel(); // closes
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    bool Open(int port); // true when open and configured; on failure the reporter was called
    // The same for a device path given directly; messages name the path.
    bool OpenDevice(const std::string& path);
    const PortFailure& LastFailure() const { return failure_; } // set before the reporter is called
    void Close(); // harmless when not open; joins the receive thread
    bool Connected() const;

    // Writes the record unless the channel was closed. After a lost link
    // (and no Close since) the port is first opened again with the whole
    // open procedure, its messages included.
    void SendRecord(const uint8_t* record); // 188 bytes
    bool TakeRecord(uint8_t* record);       // oldest queued record, false when none

    int ReceiveThreadCount() const; // receive threads running now (0 or 1)

  private:
    bool OpenAt(const std::string& name, const std::string& path);
#ifdef _WIN32
    bool Refuse(void* port, ChannelError::Kind kind, unsigned long error);
#else
    bool Refuse(int fd, ChannelError::Kind kind, int error);
#endif
    void ReceiveLoop();
    int ReadBytes(uint8_t* buffer, int count);
    int WriteBytes(const uint8_t* data, int count);
    void LoseLinkLocked();
    void ClosePortLocked();

    const std::string appFolder_;
    const ErrorReporter reportError_;
    const ChannelOptions options_;

    std::string portName_; // "COMn", or the device path given directly
    std::string devicePath_;
    PortFailure failure_;
    // The port descriptor. Set by Open before the receive thread starts and
    // closed either by Close after the thread has been joined or by the
    // receive thread itself when the link is lost; both under ioMutex_.
#ifdef _WIN32
    void* port_ = nullptr; // the port's HANDLE (serial_channel_win32.cpp)
    void* wake_ = nullptr; // a manual-reset event that interrupts the receive thread's waits
#else
    int fd_ = -1;
    WakeEvent wake_; // interrupts the receive thread's waits
#endif
    std::atomic<bool> stop_{true};
    std::atomic<bool> connected_{false};
    std::atomic<int> receiveThreads_{0};
    std::mutex ioMutex_; // held around every read from and write to the port
    std::thread receiver_;
    ReceiveRing ring_;
};

} // namespace kv
