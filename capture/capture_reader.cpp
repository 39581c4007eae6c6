#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "capture/capture.h"
#include "capture/packet_sync.h"
#include "capture/pid_statistics.h"
#include "capture/psi_tables.h"

namespace kv {
namespace {

constexpr std::size_t ChunkSize = 4 << 20;
constexpr std::size_t Slack = 2 * 204; // a packet left over from the chunk before
constexpr int64_t TableWaitBytes = int64_t{64}
                                   << 20; // tables only: how long after the PAT to wait for the rest
constexpr int MaxDamageNotes = 10;

class MemorySource : public ByteSource {
  public:
    MemorySource(const uint8_t* data, std::size_t size) : data_(data), left_(size) {}
    std::size_t Read(uint8_t* into, std::size_t size) override {
        const std::size_t n = std::min(size, left_);
        if (n > 0) std::memcpy(into, data_, n);
        data_ += n;
        left_ -= n;
        return n;
    }

  private:
    const uint8_t* data_;
    std::size_t left_;
};

class FileSource : public ByteSource {
  public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::size_t Read(uint8_t* into, std::size_t size) override { return std::fread(into, 1, size, file_); }

  private:
    std::FILE* file_;
};

// Reads packet after packet, chunk by chunk, finding the sync again where it
// is lost.
class Reader {
  public:
    Reader(ByteSource& source, CaptureReading reading, std::size_t chunk)
        : source_(source), reading_(reading), buffer_(std::max(chunk, Slack) + Slack) {}

    Capture Run() {
        Fill();
        const auto sync = FindPacketSync(buffer_.data(), have_);
        if (!sync) {
            capture_.Refusal = have_ == 0
                                   ? "The capture is empty."
                                   : "Not a transport stream: no sync byte (0x47) at intervals of 188, 192 "
                                     "or 204 bytes.";
            return std::move(capture_);
        }
        capture_.PacketSize = sync->PacketSize;
        capture_.FirstSync = static_cast<int64_t>(sync->FirstSync);
        const std::size_t prefix = sync->PacketSize == 192 ? 4 : 0;
        if (sync->FirstSync > prefix)
            capture_.Notes.push_back(
                "The capture begins inside a packet: " + std::to_string(sync->FirstSync) +
                " bytes before the first sync byte are skipped.");
        std::size_t pos = sync->FirstSync;
        bool stopped = false;
        while (!stopped) {
            stopped = Packets(pos);
            if (stopped) break;
            if (end_) {
                Tail(pos);
                break;
            }
            std::memmove(buffer_.data(), buffer_.data() + pos, have_ - pos);
            base_ += static_cast<int64_t>(pos);
            have_ -= pos;
            pos = 0;
            Fill();
        }
        Finish(!stopped);
        return std::move(capture_);
    }

  private:
    void Fill() {
        while (have_ < buffer_.size() && !end_) {
            const std::size_t n = source_.Read(buffer_.data() + have_, buffer_.size() - have_);
            if (n == 0) end_ = true;
            have_ += n;
            capture_.BytesRead += static_cast<int64_t>(n);
        }
    }

    // The whole packets from `pos`; true when PSI-only reading is done.
    bool Packets(std::size_t& pos) {
        const std::size_t stride = static_cast<std::size_t>(capture_.PacketSize);
        uint8_t* data = buffer_.data();
        while (pos + TsPacketSize <= have_) {
            if (data[pos] != TsSyncByte) {
                if (lostAt_ < 0) lostAt_ = base_ + static_cast<int64_t>(pos);
                pos = Resync(data, have_, pos, capture_.PacketSize);
                continue;
            }
            if (lostAt_ >= 0) Lost(base_ + static_cast<int64_t>(pos));
            uint8_t* packet = data + pos;
            stats_->Count(packet);
            const int pid = ((packet[1] & 0x1F) << 8) | packet[2];
            const bool transportError = packet[1] & 0x80;
            pos += stride;
            if (pid < 0x1FFF && !transportError && psi_.Push(pid, packet) &&
                reading_ == CaptureReading::Psi && PsiDone())
                return true;
        }
        return false;
    }

    bool PsiDone() {
        if (psi_.Complete()) return true;
        // Tables repeat within a second or two: a PMT or SDT that has not
        // come long after the PAT is missing, and reading stops.
        if (!psi_.HavePat()) return false;
        if (patDoneAt_ < 0) patDoneAt_ = base_;
        return base_ - patDoneAt_ > TableWaitBytes;
    }

    // Sync found again at `at` after it was lost at lostAt_.
    void Lost(int64_t at) {
        if (++lost_ <= MaxDamageNotes)
            capture_.Damage.push_back("Sync lost at byte " + std::to_string(lostAt_) + ": " +
                                      std::to_string(at - lostAt_) + " bytes skipped.");
        else if (lost_ == MaxDamageNotes + 1)
            capture_.Damage.push_back("Sync lost more often; only the first " +
                                      std::to_string(MaxDamageNotes) + " places are named.");
        lostAt_ = -1;
    }

    // What is left at the end of the capture after its last whole packet.
    void Tail(std::size_t pos) {
        if (lostAt_ >= 0 && pos >= have_) {
            capture_.Damage.push_back("Sync lost at byte " + std::to_string(lostAt_) +
                                      " and not found again.");
            return;
        }
        if (pos >= have_) return;
        if (lostAt_ >= 0) Lost(base_ + static_cast<int64_t>(pos));
        const std::size_t left = have_ - pos;
        if (buffer_[pos] == TsSyncByte)
            capture_.Damage.push_back("The capture is truncated: its last packet has " +
                                      std::to_string(left) + " of 188 bytes.");
        else
            capture_.Damage.push_back("The capture ends in " + std::to_string(left) +
                                      " bytes that are no packet.");
    }

    void Finish(bool wholeFile) {
        capture_.WholeFile = wholeFile;
        capture_.Packets = stats_->Packets();
        capture_.Pids = stats_->Pids(capture_.Duration, capture_.BitRate);
        capture_.TsId = psi_.TsId();
        capture_.Services = psi_.Services(capture_.Notes);
        for (CaptureService& service : capture_.Services) {
            double rate = 0;
            std::vector<int> counted;
            auto add = [&](int pid) {
                if (std::find(counted.begin(), counted.end(), pid) != counted.end()) return;
                counted.push_back(pid);
                if (const CapturePid* p = capture_.Pid(pid)) rate += p->BitRate;
            };
            add(service.PmtPid);
            add(service.PcrPid);
            for (const CaptureStream& s : service.Streams) add(s.Pid);
            service.BitRate = rate;
        }
    }

    ByteSource& source_;
    CaptureReading reading_;
    std::vector<uint8_t> buffer_;
    std::size_t have_ = 0;
    int64_t base_ = 0; // capture offset of buffer_[0]
    bool end_ = false;
    int lost_ = 0;
    int64_t patDoneAt_ = -1;
    Capture capture_;
    int64_t lostAt_ = -1; // capture offset where the sync was lost, until found again
    std::unique_ptr<PidStatistics> stats_ = std::make_unique<PidStatistics>(); // 16 KB: not on the stack
    PsiTables psi_;
};

} // namespace

const CapturePid* Capture::Pid(int pid) const {
    const auto at = std::lower_bound(Pids.begin(), Pids.end(), pid,
                                     [](const CapturePid& p, int wanted) { return p.Pid < wanted; });
    return at != Pids.end() && at->Pid == pid ? &*at : nullptr;
}

const CaptureStream* Capture::StreamOn(int pid, int serviceId) const {
    const CaptureStream* any = nullptr;
    for (const CaptureService& service : Services)
        for (const CaptureStream& s : service.Streams) {
            if (s.Pid != pid) continue;
            if (service.ServiceId == serviceId) return &s;
            if (!any) any = &s;
        }
    return any;
}

Capture ReadCapture(ByteSource& source, CaptureReading reading) {
    return Reader(source, reading, ChunkSize).Run();
}

// Bytes in memory are read in one chunk no larger than they are.
Capture ReadCapture(const uint8_t* data, std::size_t size, CaptureReading reading) {
    MemorySource source(data, size);
    return Reader(source, reading, std::min(size, ChunkSize)).Run();
}

std::optional<Capture> ReadCaptureFile(const std::string& path, CaptureReading reading, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    std::setvbuf(file, nullptr, _IONBF, 0); // the reader reads whole chunks itself
    FileSource source(file);
    Capture capture = ReadCapture(source, reading);
    if (std::ferror(file)) capture.Damage.push_back(std::string("Read error: ") + std::strerror(errno));
    std::fclose(file);
    return capture;
}

} // namespace kv
