#include "link/serial_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "link/line_settings.h"
#include "link/record_cutter.h"
#include "link/serial_devices.h"
#include "model/app_paths.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, rounded up so that a wait never ends early.
int MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

constexpr short HangupEvents = POLLHUP | POLLERR | POLLNVAL;

// Exclusive mode belongs to the terminal, not to the descriptor: a
// pseudo-terminal whose other end stays open keeps it after the close, and
// every later open by a user other than root fails with EBUSY. Every close
// of the port therefore clears it first.
void ClosePort(int fd) {
    if (fd < 0) return;
    (void)ioctl(fd, TIOCNXCL);
    ::close(fd);
}

} // namespace

SerialChannel::SerialChannel(std::string appFolder, ErrorReporter reportError, ChannelOptions options)
    : appFolder_(std::move(appFolder)), reportError_(std::move(reportError)), options_(options) {}

SerialChannel::~SerialChannel() {
    Close();
}

std::string PortFailureDetail(const PortFailure& failure) {
    if (failure.Errno == ENOENT)
        if (std::string broken = BrokenLinkText(failure.DevicePath); !broken.empty()) return broken;
    std::string detail = failure.DevicePath + ": ";
    if (failure.Errno == 0) return detail + "the line settings did not hold";
    if (failure.Errno == EWOULDBLOCK) return detail + "in use by another program";
    detail += std::strerror(failure.Errno);
    if (failure.Errno == EACCES)
        detail += " (the user must be in the dialout group: sudo adduser $USER dialout, then log in again)";
    return detail;
}

bool SerialChannel::Open(int port) {
    return OpenAt(PortName(port), PortDevicePath(appFolder_, port));
}

bool SerialChannel::OpenDevice(const std::string& path) {
    return OpenAt(path, path);
}

bool SerialChannel::OpenAt(const std::string& name, const std::string& path) {
    Close();
    portName_ = name;
    devicePath_ = path;
    failure_ = {path, 0};
    stop_ = false;
    wake_.Clear();
    constexpr ChannelError::Kind notAvailable = ChannelError::Kind::NotAvailable;
    constexpr ChannelError::Kind settingsRefused = ChannelError::Kind::ConfigurationError;

    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Refuse(fd, notAvailable, errno);
    // The lock is what keeps a second user out: TIOCEXCL does not stop root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return Refuse(fd, notAvailable, errno);
    (void)ioctl(fd, TIOCEXCL);

    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return Refuse(fd, notAvailable, errno);
    ApplyLineSettings(settings);
    termios readBack{};
    if (tcsetattr(fd, TCSANOW, &settings) != 0 || tcgetattr(fd, &readBack) != 0)
        return Refuse(fd, settingsRefused, errno);
    if (!LineSettingsHeld(readBack)) return Refuse(fd, settingsRefused, 0);
    // Assert DTR and RTS; a pseudo-terminal has no modem lines and says no.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd, TIOCMBIS, &lines);

    {
        std::lock_guard<std::mutex> lock(ioMutex_);
        fd_ = fd;
    }
    connected_ = true;
    ++receiveThreads_;
    receiver_ = std::thread(&SerialChannel::ReceiveLoop, this);
    return true;
}

bool SerialChannel::Refuse(int fd, ChannelError::Kind kind, int error) {
    ClosePort(fd);
    Close();
    failure_.Errno = error;
    if (reportError_) reportError_(ChannelError{kind, portName_});
    return false;
}

void SerialChannel::Close() {
    stop_ = true;
    wake_.Signal();
    if (receiver_.joinable()) receiver_.join();
    std::lock_guard<std::mutex> lock(ioMutex_);
    ClosePortLocked();
    connected_ = false;
}

void SerialChannel::ReceiveLoop() {
    pollfd wake{wake_.Fd(), POLLIN, 0};
    // The startup wait ends early when the channel is closed.
    int woken = 0;
    do woken = poll(&wake, 1, options_.StartupDelayMs);
    while (woken < 0 && errno == EINTR);
    if (woken == 0) {
        RecordCutter cutter;
        uint8_t buffer[LineRecordSize];
        const auto queue = [this](const uint8_t* record) { ring_.Push(record); };
        while (!stop_ && connected_) {
            const int n = ReadBytes(buffer, cutter.Wanted());
            if (n > 0) cutter.Feed(buffer, static_cast<std::size_t>(n), queue);
        }
    }
    if (!connected_) {
        // Link lost: give the port back at once rather than at the next Close.
        std::lock_guard<std::mutex> lock(ioMutex_);
        ClosePortLocked();
    }
    --receiveThreads_;
}

// Returns when `count` bytes have arrived, after 50 ms + 1 ms per requested
// byte, or when the channel closes or the link is lost. The wait for data
// happens outside the lock so that a send never waits for a quiet line; the
// lock covers each read itself.
int SerialChannel::ReadBytes(uint8_t* buffer, int count) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(50 + count);
    int got = 0;
    while (got < count && !stop_ && connected_) {
        const int waitMs = MsUntil(deadline);
        if (waitMs == 0) break;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_.Fd(), POLLIN, 0}};
        const int ready = poll(fds, 2, waitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) break;
        if (fds[1].revents != 0) break; // closing, or the send side lost the link
        std::lock_guard<std::mutex> lock(ioMutex_);
        if (!connected_) break;
        if (ready < 0) {
            LoseLinkLocked();
            break;
        }
        const ssize_t n = ::read(fd_, buffer + got, static_cast<std::size_t>(count - got));
        if (n > 0) {
            got += static_cast<int>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && (fds[0].revents & HangupEvents) == 0) {
            continue; // woken without data
        } else {
            LoseLinkLocked(); // read error, or end of file: the line hung up
            break;
        }
    }
    return got;
}

// A blocking write bounded by 1 ms per byte. Time running out is not a
// failure: what went out is reported. Failure loses the link and reports 0.
int SerialChannel::WriteBytes(const uint8_t* data, int count) {
    std::lock_guard<std::mutex> lock(ioMutex_);
    if (stop_ || !connected_) return 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(count);
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(fd_, data + written, static_cast<std::size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            const int waitMs = MsUntil(deadline);
            if (waitMs == 0) break;
            pollfd out{fd_, POLLOUT, 0};
            const int ready = poll(&out, 1, waitMs);
            if (ready < 0 && errno != EINTR) {
                LoseLinkLocked();
                return 0;
            }
            if (ready > 0 && (out.revents & HangupEvents) != 0 && (out.revents & POLLOUT) == 0) {
                LoseLinkLocked();
                return 0;
            }
            continue;
        }
        LoseLinkLocked();
        return 0;
    }
    return written;
}

// The receive thread sees the cleared flag (or the wake-up) and ends; it
// closes the port on its way out.
void SerialChannel::LoseLinkLocked() {
    connected_ = false;
    wake_.Signal();
}

void SerialChannel::ClosePortLocked() {
    ClosePort(fd_);
    fd_ = -1;
}

} // namespace kv
