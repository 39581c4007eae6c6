#pragma once
// Cuts a byte stream into 188-byte records. Bytes that arrive while no record
// is open and that are neither 0x47 nor 0xB8 are line noise and dropped; a
// record opens at the first 0x47 or 0xB8 and takes the next 187 bytes as
// they come, whatever they are. So a misaligned piece that happens to start
// with one of the two bytes is taken as is: realignment happens only when a
// record would start with another byte.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "link/link_record.h"

namespace kv {

class RecordCutter {
  public:
    using RecordSink = std::function<void(const uint8_t* record)>;

    // Bytes still missing from the record being assembled (1..188): the most
    // a reader should ask the line for, so that no byte of the next record is
    // taken before it is needed.
    int Wanted() const { return LineRecordSize - have_; }

    // Takes `count` bytes in arrival order; hands every completed record to
    // `sink` as soon as its last byte is in.
    void Feed(const uint8_t* bytes, std::size_t count, const RecordSink& sink);

  private:
    uint8_t buffer_[LineRecordSize]{};
    int have_ = 0;
};

} // namespace kv
