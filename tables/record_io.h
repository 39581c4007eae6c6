#pragma once
// Little-endian fields of image records at fixed positions. Writes outside
// the record are dropped, reads outside it give 0: no field can reach the
// bytes of a neighbouring record.

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/config_store.h"

namespace kv {

class RecordWriter {
  public:
    explicit RecordWriter(std::span<uint8_t> record) : rec_(record) {}

    void u8(std::size_t at, unsigned value) {
        if (at < rec_.size()) rec_[at] = static_cast<uint8_t>(value);
    }
    void u16(std::size_t at, unsigned value) {
        u8(at, value);
        u8(at + 1, value >> 8);
    }
    // Low byte first, then the high 5 bits; `flags` may set the top bits.
    // A value outside the 13 bits goes as 8191, never cut to another PID.
    void pid(std::size_t at, int pid, unsigned flags = 0) { u16(at, CarriedPid(pid) | flags); }

  private:
    std::span<uint8_t> rec_;
};

class RecordReader {
  public:
    explicit RecordReader(std::span<const uint8_t> record) : rec_(record) {}

    unsigned u8(std::size_t at) const { return at < rec_.size() ? rec_[at] : 0u; }
    unsigned u16(std::size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    int pid(std::size_t at) const { return static_cast<int>(u16(at) & 0x1FFFu); }

  private:
    std::span<const uint8_t> rec_;
};

} // namespace kv
