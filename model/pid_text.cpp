#include "model/pid_text.h"

#include <cstdio>

namespace kv {
namespace {

// Stored PIDs below these are read as absent; the exit check warns below 32.
constexpr int DecimalLowerBound = 30;
constexpr int HexLowerBound = 0x18;
constexpr int WarnLowerBound = 32;
constexpr int WarnUpperBound = 8190;

// The blanks the C scanner skips before a number.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Value of `c` as a digit of the radix, or -1.
int DigitValue(char c, Radix radix) {
    if (c >= '0' && c <= '9') return c - '0';
    if (radix == Radix::Hexadecimal) {
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    }
    return -1;
}

// The number as a 16-bit store field keeps it: the low 16 bits, signed.
int16_t Low16(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

template <typename... Args> std::string Printf(const char* format, Args... args) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return n < 0 ? std::string() : std::string(buffer);
}

} // namespace

bool PidKeyAdmitted(char32_t ch, Radix radix) {
    if (ch == Backspace || ch == U'.' || ch == U',') return true;
    if (ch >= U'0' && ch <= U'9') return true;
    if (radix == Radix::Hexadecimal) return (ch >= U'A' && ch <= U'F') || (ch >= U'a' && ch <= U'f');
    return false;
}

std::optional<int32_t> ScanLeadingNumber(std::string_view text, Radix radix) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "%x" takes an optional 0x prefix, but only when a hex digit follows it;
    // otherwise the 0 alone is the number.
    if (radix == Radix::Hexadecimal && i + 2 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2], radix) >= 0)
        i += 2;

    const uint32_t base = radix == Radix::Hexadecimal ? 16u : 10u;
    // Unsigned arithmetic wraps, so an overlong number keeps its low 32 bits.
    uint32_t value = 0;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], radix);
        if (digit < 0) break;
        value = value * base + static_cast<uint32_t>(digit);
        anyDigit = true;
    }
    if (!anyDigit) return std::nullopt;
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

int16_t PidFromText(std::string_view text, Radix radix) {
    const std::optional<int32_t> number = ScanLeadingNumber(text, radix);
    if (!number) return PidNone;
    const int16_t value = Low16(*number);
    const int lowerBound = radix == Radix::Hexadecimal ? HexLowerBound : DecimalLowerBound;
    if (value > PidNone || value < lowerBound) return PidNone;
    return value;
}

bool PidExitWarns(std::string_view text, Radix radix) {
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return false;
    const std::optional<int32_t> number = ScanLeadingNumber(trimmed, radix);
    if (!number) return true;
    const int16_t value = Low16(*number);
    return value < WarnLowerBound || value > WarnUpperBound;
}

// The hexadecimal formats print the value as C's "%X" prints an int: a
// negative number shows as its 32-bit two's complement.
std::string FormatPidForBox(int16_t pid, Radix radix) {
    if (radix == Radix::Hexadecimal) return FormatCell(pid, radix); // same "%4.4X" as a list cell
    return Printf("%d", static_cast<int>(pid));
}

std::string FormatServiceIdForBox(uint16_t serviceId) {
    return Printf("%hu", static_cast<unsigned short>(serviceId));
}

std::string FormatCell(int value, Radix radix) {
    if (radix == Radix::Hexadecimal) return Printf("%4.4X", static_cast<unsigned>(value));
    return Printf("%4d", value);
}

std::string BlankIfNone(std::string boxText) {
    if (boxText == "8191" || boxText == "1FFF") return {};
    return boxText;
}

std::string TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

} // namespace kv
