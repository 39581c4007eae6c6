#pragma once
// A signalling section (PAT, NIT, SDT, PMT) as JSON, field names from the
// standard, with whether its CRC is right.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>

namespace kv::cli {

// `section` starts at table_id and holds at least 3 + section_length bytes
// when the section is whole; a shorter one is reported as cut off.
nlohmann::json SectionToJson(std::span<const uint8_t> section);

} // namespace kv::cli
