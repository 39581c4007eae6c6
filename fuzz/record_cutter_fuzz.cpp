// The receive thread's side of the line: bytes arrive in pieces of any size,
// the cutter turns them into 188-byte records starting with 0x47 or 0xB8,
// and the ring queues them for the GUI thread, dropping the newest when full.
//
// Input: byte 0 gives the length K (1..16) of a script that follows it; the
// rest is the line. Piece i of the line is script[i % K] bytes long (0..255);
// after it the consumer takes script[(i + 1) % K] / 16 records. Each record
// is queued script[i % K] / 4 + 1 times, so a short input still fills the
// ring.
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "link/receive_ring.h"
#include "link/record_cutter.h"

using namespace kv;

namespace {

using Record = std::vector<uint8_t>;

// The cut as the line defines it, one byte at a time: noise before a record
// start is skipped, a record is the start byte and the next 187 bytes.
std::vector<Record> ReferenceCut(const uint8_t* line, std::size_t size) {
    std::vector<Record> records;
    Record open;
    for (std::size_t k = 0; k < size; ++k) {
        if (open.empty() && !IsRecordStart(line[k])) continue;
        open.push_back(line[k]);
        if (open.size() == static_cast<std::size_t>(LineRecordSize)) {
            records.push_back(open);
            open.clear();
        }
    }
    return records;
}

// Each queued copy carries its sequence number in its last four bytes, so
// the model can tell the copies apart.
constexpr std::size_t StampAt = LineRecordSize - 4;

// The ring's expected contents, kept beside the real ring. The ring lives
// from input to input (emptied at the start of each), so its indices start
// anywhere and wrap at any point.
class RingModel {
  public:
    explicit RingModel(ReceiveRing& ring) : ring_(ring) {
        uint8_t record[LineRecordSize];
        while (ring_.Pop(record)) {
        }
        dropped_ = ring_.Dropped();
    }

    // `cutIndex`: which of the records cut so far this copy is.
    void Push(const Record& record, std::size_t cutIndex) {
        uint8_t copy[LineRecordSize];
        std::memcpy(copy, record.data(), LineRecordSize);
        std::memcpy(copy + StampAt, &next_, sizeof next_);
        const bool full = static_cast<int>(queued_.size()) == ReceiveRing::Slots - 1;
        const bool taken = ring_.Push(copy);
        fuzz::Require(taken != full, "the ring takes a record exactly when it is not full");
        if (taken)
            queued_.push_back({cutIndex, next_});
        else
            ++dropped_;
        ++next_;
        fuzz::Require(ring_.Dropped() == dropped_, "dropped records are counted");
    }

    void Take(const std::vector<Record>& cut, int count) {
        uint8_t record[LineRecordSize];
        for (int k = 0; k < count; ++k) {
            const bool got = ring_.Pop(record);
            fuzz::Require(got == !queued_.empty(), "a record is taken exactly when one is queued");
            if (!got) return;
            // The oldest queued record comes first: drops were of the newest.
            const Queued oldest = queued_.front();
            fuzz::Require(std::memcmp(record, cut[oldest.CutIndex].data(), StampAt) == 0 &&
                              std::memcmp(record + StampAt, &oldest.Stamp, sizeof oldest.Stamp) == 0,
                          "records leave the ring in arrival order");
            queued_.pop_front();
        }
    }

  private:
    struct Queued {
        std::size_t CutIndex;
        uint32_t Stamp;
    };
    ReceiveRing& ring_;
    std::deque<Queued> queued_;
    uint64_t dropped_ = 0;
    uint32_t next_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t scriptSize = std::min<std::size_t>(data[0] % 16 + 1, size - 1);
    if (scriptSize == 0) return 0;
    const uint8_t* script = data + 1;
    const uint8_t* line = script + scriptSize;
    const std::size_t lineSize = size - 1 - scriptSize;

    // The line cut in the script's pieces, queued as it comes.
    static ReceiveRing ring;
    RingModel model(ring);
    RecordCutter cutter;
    std::vector<Record> cut;
    int copies = 1;
    const RecordCutter::RecordSink queue = [&](const uint8_t* record) {
        fuzz::Require(IsRecordStart(record[0]), "a record starts with 0x47 or 0xB8");
        cut.emplace_back(record, record + LineRecordSize); // all 188 bytes readable
        for (int c = 0; c < copies; ++c) model.Push(cut.back(), cut.size() - 1);
    };
    std::size_t at = 0;
    for (std::size_t piece = 0; at < lineSize; ++piece) {
        const uint8_t step = script[piece % scriptSize];
        const std::size_t count = std::min<std::size_t>(step, lineSize - at);
        copies = step / 4 + 1;
        cutter.Feed(line + at, count, queue);
        at += count;
        fuzz::Require(cutter.Wanted() >= 1 && cutter.Wanted() <= LineRecordSize, "bytes wanted");
        model.Take(cut, script[(piece + 1) % scriptSize] / 16);
        if (piece > lineSize + scriptSize) break; // pieces of 0 bytes only: the line is not consumed
    }

    // However the line was cut into pieces, the records are the same.
    fuzz::Require(cut == ReferenceCut(line, at), "records do not depend on how the line was cut");
    RecordCutter whole;
    std::vector<Record> atOnce;
    whole.Feed(line, at,
               [&](const uint8_t* record) { atOnce.emplace_back(record, record + LineRecordSize); });
    fuzz::Require(atOnce == cut, "the line fed at once gives the same records");
    model.Take(cut, ReceiveRing::Slots);
    return 0;
}
