#include "link/transfer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "link/command_records.h"
#include "link/serial_channel.h"
#include "link/stop_request.h"
#include "model/atomic_file.h"
#include "model/file_path.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

// A device that never stops streaming must not hold the tool forever:
// draining stops after this many records ...
constexpr int DrainLimitRecords = 4000;
// ... and the header must come round, and come round again, within about one
// cycle more than the largest image a header can describe.
constexpr int CycleLimitRecords = 2 * MaxImageRecords;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File OpenFile(const std::string& path, const char* mode) {
    return File(OpenUtf8File(path, mode), &std::fclose);
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A wait that a stop request cuts short.
void PauseUnlessStopped(int ms) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (!StopRequested() && Clock::now() < end) Pause(std::min(10, ms));
}

// Whether the transfer may go on: no stop requested and the link up.
bool GoingOn(const SerialChannel& channel) {
    return !StopRequested() && channel.Connected();
}

void SendTimes(SerialChannel& channel, const LineRecord& record, int times) {
    for (int i = 0; i < times && GoingOn(channel); ++i) channel.SendRecord(record.data());
}

// Once the transfer has started, a lost link ends it: the port is not opened
// again (and its failure reported a second time) by the idle command.
void SyncIfUp(SerialChannel& channel) {
    if (channel.Connected()) SyncLink(channel);
}

TransferNotes& NotesOf(const TransferTiming& timing) {
    static thread_local TransferNotes unused;
    return timing.Notes ? *timing.Notes : unused;
}

// Takes the next record, polling every 5 ms. False after `silenceMs` without
// one, or as soon as the link is down (nothing can arrive then).
bool WaitForRecord(SerialChannel& channel, LineRecord& record, int silenceMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(silenceMs);
    for (;;) {
        if (channel.TakeRecord(record.data())) return true;
        if (!GoingOn(channel) || Clock::now() >= deadline) return false;
        Pause(5);
    }
}

// From the first header the device plays up to the record before the next
// header: one full cycle of its image. 0 captured, 2 silence or no cycle
// within the bound.
void Report(const TransferTiming& timing, const char* step, int records) {
    if (timing.Progress) timing.Progress(step, records);
}

int CaptureCycle(SerialChannel& channel, std::FILE* file, const TransferTiming& timing) {
    const int silenceMs = timing.SilenceMs;
    TransferNotes& notes = NotesOf(timing);
    LineRecord record{};
    for (int skipped = 0;; ++skipped) {
        Report(timing, "Waiting for the header", skipped);
        if (skipped > CycleLimitRecords || !WaitForRecord(channel, record, silenceMs)) return 2;
        ++notes.RecordsSeen;
        if (IsHeaderRecord(record.data())) break;
    }
    notes.HeaderSeen = true;
    for (int captured = 1;; ++captured) {
        Report(timing, "Capturing", captured);
        // Write errors show later as a size or content difference.
        (void)std::fwrite(record.data(), 1, record.size(), file);
        if (captured > CycleLimitRecords || !WaitForRecord(channel, record, silenceMs)) return 2;
        ++notes.RecordsSeen;
        if (IsHeaderRecord(record.data())) return 0;
    }
}

long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    std::rewind(file);
    return size;
}

bool ReadWhole(std::FILE* file, std::vector<uint8_t>& buffer, long size) {
    return std::fread(buffer.data(), 1, static_cast<std::size_t>(size), file) ==
           static_cast<std::size_t>(size);
}

} // namespace

int SyncLink(SerialChannel& channel) {
    channel.SendRecord(IdleCommand().data());
    LineRecord record{};
    int drained = 0;
    for (;;) {
        Pause(10);
        if (StopRequested()) return 0; // the idle command went out; what is queued is dropped with the port
        if (!channel.TakeRecord(record.data())) return 0;
        // Drop what is queued in one go: stale records need not cost 10 ms each.
        do {
            if (++drained >= DrainLimitRecords) return 1;
        } while (channel.TakeRecord(record.data()));
    }
}

int SendImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing) {
    File file = OpenFile(path, "rb");
    if (!file) {
        SyncLink(channel);
        return 1;
    }
    // Before the load, a port lost since the last transfer is opened again
    // (a failed open stops the channel: it is reported once); from the load
    // on, a lost link ends the transfer.
    for (int i = 0; i < 5 && !StopRequested(); ++i) channel.SendRecord(IdleCommand().data());
    SyncLink(channel);
    if (!GoingOn(channel)) return 0; // the caller sees why
    TransferNotes& notes = NotesOf(timing);
    notes.LoadStarted = true;
    SendTimes(channel, LoadCommand(), 1);
    PauseUnlessStopped(timing.LoadWaitMs);
    LineRecord record{};
    // A trailing partial record is not sent.
    for (int sent = 1;
         GoingOn(channel) && std::fread(record.data(), 1, record.size(), file.get()) == record.size();
         ++sent) {
        channel.SendRecord(record.data());
        Report(timing, "Sending", sent);
    }
    notes.Loaded = GoingOn(channel);
    file.reset();
    SyncIfUp(channel);
    return 0;
}

int ReceiveImage(SerialChannel& channel, const std::string& path, const TransferTiming& timing) {
    SyncLink(channel);
    int result = 0;
    {
        AtomicFile file;
        if (!file.Open(path)) {
            SyncIfUp(channel);
            return 1;
        }
        SendTimes(channel, ReadCommand(), 5);
        result = CaptureCycle(channel, file.Stream(), timing);
        if (result == 0 && !file.Commit()) result = 1;
    }
    SyncIfUp(channel);
    return result;
}

int CompareFiles(const std::string& imagePath, const std::string& readBackPath) {
    File image = OpenFile(imagePath, "rb");
    if (!image) return 1;
    File readBack = OpenFile(readBackPath, "rb");
    if (!readBack) return 2;
    const long size = FileSize(image.get());
    if (size < 0 || size != FileSize(readBack.get())) return 3;
    if (size > 32000) return 4;
    std::vector<uint8_t> first, second;
    try {
        first.resize(static_cast<std::size_t>(size) + 10);
    } catch (const std::bad_alloc&) {
        return 5;
    }
    try {
        second.resize(static_cast<std::size_t>(size) + 10);
    } catch (const std::bad_alloc&) {
        return 6;
    }
    if (!ReadWhole(image.get(), first, size) || !ReadWhole(readBack.get(), second, size)) return 7;
    return first == second ? 0 : 7;
}

TransferResult TransferAndVerify(SerialChannel& channel, const std::string& imagePath,
                                 const std::string& readBackPath, const TransferTiming& timing) {
    int r = SendImage(channel, imagePath, timing);
    if (StopRequested()) return TransferResult::Interrupted;
    if (!channel.Connected()) r = 11;
    if (r == 0) {
        r = 10 * ReceiveImage(channel, readBackPath, timing);
        if (StopRequested()) return TransferResult::Interrupted;
        if (!channel.Connected()) r = 11;
        if (r == 10) r = 2;
        if (r == 20) r = 3;
    }
    if (r == 0) {
        static constexpr int CompareCodes[] = {0, 4, 5, 6, 7, 8, 9, 10};
        const int c = CompareFiles(imagePath, readBackPath);
        r = (c >= 0 && c <= 7) ? CompareCodes[c] : 10;
    }
    return static_cast<TransferResult>(r);
}

} // namespace kv
