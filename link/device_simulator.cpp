#include "link/device_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "link/command_records.h"
#include "link/record_cutter.h"
#include "model/app_paths.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

timespec ToTimespec(Clock::duration d) {
    const auto ns = std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

bool SetError(std::string* error, const std::string& text) {
    if (error) *error = text + ": " + std::strerror(errno);
    return false;
}

// A client that went away without clearing exclusive mode (killed, or
// unplugged) leaves the terminal refusing everyone but root, since this side
// keeps it open. Exclusive mode with nobody holding the port's lock is such a
// leftover: a client sets it only while it holds the lock.
void ClearLeftoverExclusiveMode(int slave) {
    int exclusive = 0;
    if (ioctl(slave, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return;
    if (flock(slave, LOCK_EX | LOCK_NB) != 0) return; // a client holds the port
    (void)ioctl(slave, TIOCNXCL);
    (void)flock(slave, LOCK_UN);
}

} // namespace

DeviceSimulator::DeviceSimulator(SimulatorOptions options) : options_(options), protocol_(options.Fault) {}

DeviceSimulator::~DeviceSimulator() {
    Stop();
}

bool DeviceSimulator::PreloadImageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::vector<uint8_t> image(static_cast<std::size_t>(MaxImageRecords) * LineRecordSize);
    file.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    image.resize(static_cast<std::size_t>(file.gcount()));
    PreloadImage(image);
    return true;
}

void DeviceSimulator::PreloadImage(const std::vector<uint8_t>& image) {
    std::lock_guard<std::mutex> lock(protocolMutex_);
    protocol_.Preload(image);
}

bool DeviceSimulator::Start(std::string* error) {
    if (thread_.joinable()) return true;
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return SetError(error, "no pseudo-terminal");
    char name[128] = {};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        const bool result = SetError(error, "pseudo-terminal not usable");
        CloseTerminal();
        return result;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) {
        const bool result = SetError(error, "cannot open " + slavePath_);
        CloseTerminal();
        return result;
    }
    // No echo, no line editing: the bytes pass as they are until the tool
    // sets its own line settings.
    cfmakeraw(&raw);
    if (tcsetattr(slave_, TCSANOW, &raw) != 0 || fcntl(master_, F_SETFL, O_NONBLOCK) != 0) {
        const bool result = SetError(error, "cannot set up " + slavePath_);
        CloseTerminal();
        return result;
    }
    hungUp_ = false;
    wake_.Clear();
    thread_ = std::thread(&DeviceSimulator::Run, this);
    return true;
}

bool DeviceSimulator::LinkAsPort(const std::string& appFolder, int port, std::string* error) {
    namespace fs = std::filesystem;
    if (std::string problem = PrepareConfigFolder(appFolder); !problem.empty()) {
        if (error) *error = std::move(problem);
        return false;
    }
    const std::string link = PortLinkPath(appFolder, port);
    std::error_code ec;
    RemoveLink();
    fs::create_directories(ConfigFolder(appFolder), ec);
    const std::string lockPath = PortLockPath(appFolder, port);
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock < 0) {
        if (error) *error = "cannot create " + lockPath + ": " + std::strerror(errno);
        return false;
    }
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        if (error) *error = PortName(port) + " is taken by another running simulator (" + lockPath + ")";
        return false;
    }
    linkLock_ = lock;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::is_symlink(status)) {
        // The operator's binding stays; only a stopped simulator's terminal
        // link (its lock is free: this one holds it now) is taken over.
        const std::string target = fs::read_symlink(link, ec).string();
        if (!target.starts_with("/dev/pts/")) {
            if (error)
                *error = PortName(port) + " is bound to " + target +
                         "; choose another port or unbind it in Serial devices...";
            RemoveLink();
            return false;
        }
        fs::remove(link, ec);
    } else if (fs::exists(status)) {
        if (error) *error = link + " exists and is not a link";
        RemoveLink();
        return false;
    }
    fs::create_symlink(slavePath_, link, ec);
    if (ec) {
        if (error) *error = "cannot create " + link + ": " + ec.message();
        RemoveLink();
        return false;
    }
    linkPath_ = link;
    return true;
}

void DeviceSimulator::Stop() {
    wake_.Signal();
    if (thread_.joinable()) thread_.join();
    CloseTerminal();
    RemoveLink();
}

std::vector<uint8_t> DeviceSimulator::StoredImage() const {
    std::lock_guard<std::mutex> lock(protocolMutex_);
    return protocol_.Image();
}

int DeviceSimulator::LoadsCompleted() const {
    std::lock_guard<std::mutex> lock(protocolMutex_);
    return protocol_.LoadsCompleted();
}

void DeviceSimulator::CloseTerminal() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

void DeviceSimulator::RemoveLink() {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Only our own link: the operator may have bound the port elsewhere since.
    if (!linkPath_.empty() && fs::is_symlink(fs::symlink_status(linkPath_, ec)) &&
        fs::read_symlink(linkPath_, ec) == slavePath_)
        fs::remove(linkPath_, ec);
    linkPath_.clear();
    // The lock file stays: removing it would let two simulators lock two files of one name.
    if (linkLock_ >= 0) ::close(linkLock_);
    linkLock_ = -1;
}

// One thread listens to the tool and plays back at the line rate: it sleeps
// until a byte arrives, the next record is due, a header-less load has been
// quiet long enough, or Stop.
void DeviceSimulator::Run() {
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / options_.RecordsPerSecond));
    const auto pause = std::chrono::milliseconds(options_.LoadPauseMs);
    RecordCutter cutter;
    std::vector<uint8_t> out; // bytes on their way to the line
    std::size_t sent = 0;
    Clock::time_point nextDue = Clock::now();
    Clock::time_point nextExclusiveCheck = Clock::now();
    bool wasPlaying = false;
    uint8_t input[4096];

    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= nextExclusiveCheck) {
            ClearLeftoverExclusiveMode(slave_);
            nextExclusiveCheck = now + std::chrono::milliseconds(50);
        }
        Clock::time_point wakeAt = now + std::chrono::milliseconds(100);
        const bool pending = sent < out.size();
        {
            std::lock_guard<std::mutex> lock(protocolMutex_);
            const bool playing = protocol_.Playing();
            if (playing && !wasPlaying) nextDue = now;
            wasPlaying = playing;
            if (playing && !pending) wakeAt = std::min(wakeAt, nextDue);
            if (protocol_.AwaitingPause()) wakeAt = std::min(wakeAt, protocol_.LastLoadRecord() + pause);
        }
        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (pending ? POLLOUT : 0)), 0},
                         {wake_.Fd(), POLLIN, 0}};
        const timespec timeout = ToTimespec(wakeAt - now);
        const int ready = ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0 && errno != EINTR) return;
        if (fds[1].revents != 0) return; // Stop
        if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) return;

        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(master_, input, sizeof input);
            if (n > 0) {
                std::lock_guard<std::mutex> lock(protocolMutex_);
                cutter.Feed(input, static_cast<std::size_t>(n),
                            [this](const uint8_t* record) { protocol_.OnRecord(record, Clock::now()); });
            }
        }

        {
            std::lock_guard<std::mutex> lock(protocolMutex_);
            const Clock::time_point later = Clock::now();
            protocol_.OnQuiet(later, pause);
            if (sent >= out.size() && protocol_.Playing() && later >= nextDue) {
                const bool record = protocol_.NextOutputIsRecord();
                out = protocol_.NextOutput();
                sent = 0;
                // Never faster than the line; a short stall is made up, a long one is not.
                if (record) nextDue = std::max(nextDue + period, later - 4 * period);
            }
        }
        if (sent < out.size()) {
            const ssize_t n = ::write(master_, out.data() + sent, out.size() - sent);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
        }

        if (options_.Fault == SimulatorFault::Hangup && sent >= out.size()) {
            std::lock_guard<std::mutex> lock(protocolMutex_);
            if (protocol_.RecordsPlayed() >= options_.HangupAfterRecords) {
                CloseTerminal();
                hungUp_ = true;
                return;
            }
        }
    }
}

} // namespace kv
