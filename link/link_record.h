#pragma once
// The record of the line as the link counts it: the wire's 188-byte record,
// its size as an int for the byte counts of reads and writes.

#include "wire/record_format.h"

namespace kv {

inline constexpr int LineRecordSize = static_cast<int>(RecordSize);

} // namespace kv
