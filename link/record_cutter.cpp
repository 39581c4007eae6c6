#include "link/record_cutter.h"

#include <algorithm>
#include <cstring>

namespace kv {

void RecordCutter::Feed(const uint8_t* bytes, std::size_t count, const RecordSink& sink) {
    std::size_t pos = 0;
    while (pos < count) {
        if (have_ == 0) {
            // Nothing open yet: skip noise up to the next possible record start.
            while (pos < count && !IsRecordStart(bytes[pos])) ++pos;
            if (pos == count) return;
        }
        const std::size_t take = std::min<std::size_t>(count - pos, static_cast<std::size_t>(Wanted()));
        std::memcpy(buffer_ + have_, bytes + pos, take);
        have_ += static_cast<int>(take);
        pos += take;
        if (have_ == LineRecordSize) {
            have_ = 0;
            sink(buffer_);
        }
    }
}

} // namespace kv
