#pragma once
// The command records the tool sends to the device, and the tests that tell
// them (and the image header) apart on the device's side.

#include <array>
#include <cstdint>

#include "link/link_record.h"

namespace kv {

using LineRecord = std::array<uint8_t, LineRecordSize>;

inline constexpr uint8_t IdleArgument = 0x00;
inline constexpr uint8_t ReadArgument = 0x20;

LineRecord IdleCommand(); // B8 00, bytes 7..9 FF 1F 00: the device stops sending
LineRecord ReadCommand(); // B8 00, bytes 7..9 FF 1F 20: the device plays its image back
LineRecord LoadCommand(); // B8 03: the records of a new image follow

bool IsIdleCommand(const uint8_t* record);
bool IsReadCommand(const uint8_t* record);
bool IsLoadCommand(const uint8_t* record);
bool IsHeaderRecord(const uint8_t* record); // B8 02, the first record of an image

// Largest image a header can describe, in whole records.
inline constexpr int MaxImageRecords = 0xFFFF / LineRecordSize;

} // namespace kv
