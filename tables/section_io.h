#pragma once
// Big-endian fields of transport packets and sections: a writer that goes
// forward field by field, a cursor that reads back in the same order, and a
// reader that looks at fixed positions. All stay inside their buffer: a write
// past the end is dropped, a read past the end gives 0.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/config_store.h"

namespace kv {

class SectionWriter {
  public:
    explicit SectionWriter(std::span<uint8_t> out, std::size_t at = 0) : out_(out), at_(at) {}

    void u8(unsigned value) {
        if (at_ < out_.size()) out_[at_] = static_cast<uint8_t>(value);
        ++at_;
    }
    void u16(unsigned value) {
        u8(value >> 8);
        u8(value);
    }
    // Three reserved one-bits, then the 13-bit PID; a value outside the 13
    // bits goes as 8191, never cut to another PID.
    void pid(int pid) { u16(0xE000u | CarriedPid(pid)); }
    void bytes(std::span<const uint8_t> data) {
        for (uint8_t b : data) u8(b);
    }
    void text(std::string_view chars) {
        for (char ch : chars) u8(static_cast<unsigned char>(ch));
    }

    // Fills in a field written earlier (a length known only after what it counts).
    void setU8(std::size_t at, unsigned value) {
        if (at < out_.size()) out_[at] = static_cast<uint8_t>(value);
    }
    void setU16(std::size_t at, unsigned value) {
        setU8(at, value >> 8);
        setU8(at + 1, value);
    }

    std::size_t position() const { return at_; }
    bool overflowed() const { return at_ > out_.size(); }

  private:
    std::span<uint8_t> out_;
    std::size_t at_;
};

// Reads fields one after the other, as the writer wrote them. A field that
// does not lie wholly inside the buffer reads 0 and marks the cursor overrun.
class SectionCursor {
  public:
    explicit SectionCursor(std::span<const uint8_t> in, std::size_t at = 0) : in_(in), at_(at) {}

    unsigned u8() { return take(1) ? in_[at_ - 1] : 0u; }
    unsigned u16() { return take(2) ? (static_cast<unsigned>(in_[at_ - 2]) << 8) | in_[at_ - 1] : 0u; }
    // The 13-bit PID after three reserved bits.
    int pid() { return static_cast<int>(u16() & 0x1FFFu); }
    void skip(std::size_t count) { take(count); }
    void seek(std::size_t at) { at_ = at; }

    std::size_t position() const { return at_; }
    bool overrun() const { return overrun_; }

  private:
    bool take(std::size_t count) {
        const bool inside = at_ <= in_.size() && count <= in_.size() - at_;
        overrun_ = overrun_ || !inside;
        at_ += count;
        return inside;
    }

    std::span<const uint8_t> in_;
    std::size_t at_;
    bool overrun_ = false;
};

class SectionReader {
  public:
    explicit SectionReader(std::span<const uint8_t> in) : in_(in) {}

    unsigned u8(std::size_t at) const { return at < in_.size() ? in_[at] : 0u; }
    unsigned u16(std::size_t at) const { return (u8(at) << 8) | u8(at + 1); }
    int pid(std::size_t at) const { return static_cast<int>(u16(at) & 0x1FFFu); }
    // The 12-bit section_length of a section whose table_id is at `at`.
    unsigned sectionLength(std::size_t at) const { return u16(at + 1) & 0x0FFFu; }
    std::size_t size() const { return in_.size(); }

  private:
    std::span<const uint8_t> in_;
};

} // namespace kv
