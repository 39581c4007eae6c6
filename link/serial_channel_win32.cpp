// The serial channel on Windows: the port \\.\COMn opened for exclusive,
// overlapped use, so that the receive thread's waits can be interrupted and
// a send never waits behind a pending read.
#include <windows.h>

#include <chrono>
#include <cwctype>
#include <string>
#include <utility>

#include "link/record_cutter.h"
#include "link/serial_channel.h"
#include "model/app_paths.h"
#include "model/file_path.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD LineBaud = 1500000;
// A read returns at once with what has arrived, else with the first byte,
// else after this long with nothing.
constexpr DWORD ReadFirstByteMs = 50;

int MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

HANDLE AsHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

// 1 500 000 baud, 8 data bits, no parity, 1 stop bit, binary, RTS/CTS
// handshake, DTR on, no software flow control, no character replacement.
void ApplyLineSettings(DCB& dcb) {
    dcb.BaudRate = LineBaud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = TRUE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
}

// CTS must hold back what is sent. RTS may read back as merely on: Wine
// reports its handshake (the terminal's RTS/CTS flag, both directions at
// once) that way, and an RTS kept on never holds the multiplexer back.
bool LineSettingsHeld(const DCB& dcb) {
    return dcb.BaudRate == LineBaud && dcb.ByteSize == 8 && dcb.Parity == NOPARITY &&
           dcb.StopBits == ONESTOPBIT && dcb.fOutxCtsFlow && dcb.fRtsControl != RTS_CONTROL_DISABLE &&
           !dcb.fOutX && !dcb.fInX;
}

// "COM3" names the port \\.\COM3; any other text is taken as the device path.
std::string DevicePathOf(const std::string& given) {
    if (given.size() < 4 || given.size() > 6) return given;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::towupper(static_cast<wint_t>(given[i])) != static_cast<wint_t>("COM"[i])) return given;
    for (std::size_t i = 3; i < given.size(); ++i)
        if (given[i] < '0' || given[i] > '9') return given;
    return "\\\\.\\" + given;
}

// The system's wording of an error code, without its line end.
std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring wide = length > 0 && text ? std::wstring(text, length) : std::wstring();
    ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
        wide.pop_back();
    if (wide.empty()) return "error " + std::to_string(error);
    return Utf8Text(std::filesystem::path(wide));
}

void ClosePort(HANDLE port) {
    if (port == nullptr || port == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(port);
}

// Waits for an overlapped operation until `waitMs` has passed or `wake` is
// set; an operation still pending is cancelled. Returns the bytes moved, or
// -1 when the operation failed.
int FinishOverlapped(HANDLE port, OVERLAPPED& ov, HANDLE wake, int waitMs) {
    const HANDLE events[2] = {ov.hEvent, wake};
    const DWORD count = wake ? 2 : 1;
    const DWORD woken = ::WaitForMultipleObjects(count, events, FALSE, static_cast<DWORD>(waitMs));
    if (woken != WAIT_OBJECT_0) ::CancelIoEx(port, &ov);
    DWORD moved = 0;
    if (!::GetOverlappedResult(port, &ov, &moved, TRUE)) {
        if (::GetLastError() != ERROR_OPERATION_ABORTED) return -1;
    }
    return static_cast<int>(moved);
}

} // namespace

SerialChannel::SerialChannel(std::string appFolder, ErrorReporter reportError, ChannelOptions options)
    : appFolder_(std::move(appFolder)), reportError_(std::move(reportError)), options_(options),
      wake_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

SerialChannel::~SerialChannel() {
    Close();
    ::CloseHandle(AsHandle(wake_));
}

std::string PortFailureDetail(const PortFailure& failure) {
    std::string detail = failure.DevicePath + ": ";
    if (failure.Errno == 0) return detail + "the line settings did not hold";
    if (failure.Errno == ERROR_ACCESS_DENIED || failure.Errno == ERROR_SHARING_VIOLATION)
        return detail + "in use by another program";
    return detail + SystemMessage(static_cast<DWORD>(failure.Errno));
}

bool SerialChannel::Open(int port) {
    return OpenAt(PortName(port), PortDevicePath(appFolder_, port));
}

// \\.\COM3 and COM3 both name the port COM3 in messages.
bool SerialChannel::OpenDevice(const std::string& path) {
    const std::string device = DevicePathOf(path);
    const std::string local = "\\\\.\\";
    const std::string rest = device.rfind(local, 0) == 0 ? device.substr(local.size()) : std::string();
    return OpenAt(!rest.empty() && DevicePathOf(rest) == device ? rest : path, device);
}

bool SerialChannel::OpenAt(const std::string& name, const std::string& path) {
    Close();
    portName_ = name;
    devicePath_ = path;
    failure_ = {path, 0};
    stop_ = false;
    ::ResetEvent(AsHandle(wake_));
    constexpr ChannelError::Kind notAvailable = ChannelError::Kind::NotAvailable;
    constexpr ChannelError::Kind settingsRefused = ChannelError::Kind::ConfigurationError;

    // No sharing: Windows gives the port to one program at a time.
    const HANDLE port = ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return Refuse(nullptr, notAvailable, ::GetLastError());

    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!::GetCommState(port, &settings)) return Refuse(port, notAvailable, ::GetLastError());
    ApplyLineSettings(settings);
    DCB readBack{};
    readBack.DCBlength = sizeof readBack;
    if (!::SetCommState(port, &settings) || !::GetCommState(port, &readBack))
        return Refuse(port, settingsRefused, ::GetLastError());
    if (!LineSettingsHeld(readBack)) return Refuse(port, settingsRefused, 0);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = ReadFirstByteMs;
    if (!::SetCommTimeouts(port, &timeouts)) return Refuse(port, notAvailable, ::GetLastError());
    // What an earlier user left in the driver's buffers does not belong to us.
    (void)::PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);

    {
        std::lock_guard<std::mutex> lock(ioMutex_);
        port_ = port;
    }
    connected_ = true;
    ++receiveThreads_;
    receiver_ = std::thread(&SerialChannel::ReceiveLoop, this);
    return true;
}

bool SerialChannel::Refuse(void* port, ChannelError::Kind kind, unsigned long error) {
    ClosePort(AsHandle(port));
    Close();
    failure_.Errno = static_cast<int>(error);
    if (reportError_) reportError_(ChannelError{kind, portName_});
    return false;
}

void SerialChannel::Close() {
    stop_ = true;
    ::SetEvent(AsHandle(wake_));
    if (receiver_.joinable()) receiver_.join();
    std::lock_guard<std::mutex> lock(ioMutex_);
    ClosePortLocked();
    connected_ = false;
}

void SerialChannel::ReceiveLoop() {
    // The startup wait ends early when the channel is closed.
    if (::WaitForSingleObject(AsHandle(wake_), static_cast<DWORD>(options_.StartupDelayMs)) == WAIT_TIMEOUT) {
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
// byte, or when the channel closes or the link is lost. Only this thread
// reads, and the port is closed only by this thread or after it has been
// joined, so the reads need no lock; a send goes out beside a pending read.
int SerialChannel::ReadBytes(uint8_t* buffer, int count) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(50 + count);
    const HANDLE port = AsHandle(port_);
    OVERLAPPED ov{};
    ov.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int got = 0;
    while (got < count && !stop_ && connected_) {
        const int waitMs = MsUntil(deadline);
        if (waitMs == 0) break;
        ::ResetEvent(ov.hEvent);
        DWORD n = 0;
        int moved = 0;
        if (::ReadFile(port, buffer + got, static_cast<DWORD>(count - got), &n, &ov)) {
            moved = static_cast<int>(n);
        } else if (::GetLastError() == ERROR_IO_PENDING) {
            moved = FinishOverlapped(port, ov, AsHandle(wake_), waitMs);
        } else {
            moved = -1;
        }
        if (moved < 0) {
            std::lock_guard<std::mutex> lock(ioMutex_);
            LoseLinkLocked();
            break;
        }
        got += moved;
        if (::WaitForSingleObject(AsHandle(wake_), 0) == WAIT_OBJECT_0)
            break; // closing, or the link was lost
    }
    ::CloseHandle(ov.hEvent);
    return got;
}

// A write bounded by 1 ms per byte (at least the wait of one record). Time
// running out is not a failure: what went out is reported. Failure loses the
// link and reports 0.
int SerialChannel::WriteBytes(const uint8_t* data, int count) {
    std::lock_guard<std::mutex> lock(ioMutex_);
    if (stop_ || !connected_) return 0;
    const HANDLE port = AsHandle(port_);
    OVERLAPPED ov{};
    ov.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    int written = 0;
    if (::WriteFile(port, data, static_cast<DWORD>(count), &n, &ov))
        written = static_cast<int>(n);
    else if (::GetLastError() == ERROR_IO_PENDING)
        written = FinishOverlapped(port, ov, nullptr, count);
    else
        written = -1;
    ::CloseHandle(ov.hEvent);
    if (written < 0) {
        LoseLinkLocked();
        return 0;
    }
    return written;
}

void SerialChannel::LoseLinkLocked() {
    connected_ = false;
    ::SetEvent(AsHandle(wake_));
}

void SerialChannel::ClosePortLocked() {
    ClosePort(AsHandle(port_));
    port_ = nullptr;
}

} // namespace kv
