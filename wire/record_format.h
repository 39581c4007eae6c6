#pragma once
// The unit of everything exchanged with the multiplexer and of the
// configuration image: a 188-byte record that starts with 0x47 (a transport
// packet) or 0xB8 (an image or command record, its type in byte 1).

#include <cstddef>
#include <cstdint>

namespace kv {

inline constexpr std::size_t RecordSize = 188;
inline constexpr uint8_t SyncByte = 0x47;        // byte 0 of every transport packet
inline constexpr uint8_t ImageRecordMark = 0xB8; // byte 0 of every image and command record
inline constexpr std::size_t RecordTypeAt = 1;

enum RecordType : uint8_t {
    CommandRecord = 0, // idle and read commands
    PidMapRecord = 1,
    HeaderRecord = 2, // the first record of an image
    LoadRecord = 3,   // the records of a new image follow
    PcrListRecord = 4
};

// The two bytes a record may start with; any other byte is line noise.
inline constexpr bool IsRecordStart(uint8_t byte) {
    return byte == SyncByte || byte == ImageRecordMark;
}

// Header record: bytes 7..9 hold the image length plus 0x070000, low byte
// first. The device takes the image length from bytes 7 and 8 alone.
inline constexpr std::size_t HeaderLengthAt = 7;
inline constexpr uint32_t HeaderLengthTag = 0x070000;

// The image length a header record states; `header` holds a whole record.
inline int HeaderImageLength(const uint8_t* header) {
    return header[HeaderLengthAt] | (header[HeaderLengthAt + 1] << 8);
}

} // namespace kv
