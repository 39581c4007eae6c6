#pragma once
// PID text: which keys a PID box admits, how its text becomes a stored PID,
// the warning on leaving an output box, and how PIDs are shown.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/config_store.h"

namespace kv {

enum class Radix { Decimal = 0, Hexadecimal = 1 };

inline constexpr char32_t Backspace = 8;
inline constexpr const char* PidRangeWarning = "Values allows (32 - 8190)";

// Decimal: 0-9 . , backspace. Hexadecimal: also A-F a-f. Everything else,
// Enter and every other control character included, is refused.
bool PidKeyAdmitted(char32_t ch, Radix radix);

// The leading number of the text as "%d" / "%x" reads it (leading blanks
// skipped, an optional sign, digits of the radix up to the first other
// character), kept to its low 32 bits; empty when no digit of the radix
// follows the blanks and sign.
std::optional<int32_t> ScanLeadingNumber(std::string_view text, Radix radix);

// Box text to stored PID: empty text, no number, or a low-16-bit value below
// 30 (decimal) / 0x18 (hexadecimal) or above 8190 give PidNone.
int16_t PidFromText(std::string_view text, Radix radix);

// True when leaving an output box with this text shows PidRangeWarning:
// the trimmed text is not empty and its low-16-bit value is outside 32..8190
// (a text with no number counts as outside).
bool PidExitWarns(std::string_view text, Radix radix);

std::string FormatPidForBox(int16_t pid, Radix radix); // "%d" / "%4.4X"
std::string FormatServiceIdForBox(uint16_t serviceId); // "%hu" in both radixes
std::string FormatCell(int value, Radix radix);        // "%4d" / "%4.4X" (list cells)
std::string BlankIfNone(std::string boxText);          // "8191" and "1FFF" become ""

std::string TrimBlanks(std::string_view text); // leading and trailing blanks removed

} // namespace kv
