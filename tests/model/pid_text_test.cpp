// PID text: admitted keys, text to stored PID, the exit warning and formats.
#include <gtest/gtest.h>

#include "model/pid_text.h"

namespace kv {
namespace {

constexpr Radix Dec = Radix::Decimal;
constexpr Radix Hex = Radix::Hexadecimal;

const char* Name(Radix r) {
    return r == Dec ? "Decimal" : "HexaDecimal";
}

TEST(PidText, KeysAdmittedByRadix) {
    struct Case {
        char32_t key;
        bool decimal;
        bool hexadecimal;
    };
    const Case cases[] = {
        {U'0', true, true},        {U'9', true, true},    {U'.', true, true},    {U',', true, true},
        {Backspace, true, true},   {U'A', false, true},   {U'F', false, true},   {U'a', false, true},
        {U'f', false, true},       {U'G', false, false},  {U'g', false, false},  {U'x', false, false},
        {U'\r', false, false},     {U'\n', false, false}, {U'\t', false, false}, {U' ', false, false},
        {U'-', false, false},      {U'+', false, false},  {0x7F, false, false},  {U'\u00e9', false, false},
        {U'\uff10', false, false}, // letters and digits outside ASCII never pass
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PidKeyAdmitted(c.key, Dec), c.decimal) << "key " << static_cast<uint32_t>(c.key);
        EXPECT_EQ(PidKeyAdmitted(c.key, Hex), c.hexadecimal) << "key " << static_cast<uint32_t>(c.key);
    }
}

TEST(PidText, TextToStoredPid) {
    struct Case {
        const char* text;
        Radix radix;
        int16_t stored;
    };
    const Case cases[] = {
        {"31", Dec, 31}, // warned about on exit, stored anyway
        {"30", Dec, 30}, // the decimal lower bound
        {"29", Dec, PidNone},
        {"1F", Hex, 31},
        {"18", Hex, 0x18}, // the hexadecimal lower bound
        {"17", Hex, PidNone},
        {"8190", Dec, 8190},
        {"1FFE", Hex, 8190},
        {"8191", Dec, PidNone},
        {"1FFF", Hex, PidNone},
        {"9999", Dec, PidNone},
        {"FFFF", Hex, PidNone}, // reads as -1
        {"100,7", Dec, 100},
        {"100.5", Dec, 100},
        {"1A.5", Hex, 26},
        {"ab", Hex, 0xAB},
        {"40a", Dec, 40},
        {"1A", Dec, PidNone}, // reads as 1
        {"", Dec, PidNone},
        {".", Dec, PidNone}, // no digit at all: a bad value
        {",5", Hex, PidNone},
        {"    ", Dec, PidNone},
        {" 200", Dec, 200}, // leading blanks are skipped
        {"\t200", Dec, 200},
        {"+200", Dec, 200},
        {"-200", Dec, PidNone},
        {"-", Dec, PidNone},
        {"65566", Dec, 30},       // low 16 bits: 65566 - 65536
        {"10020", Hex, 32},       // 0x10020 keeps 0x0020
        {"4294967396", Dec, 100}, // 2^32 + 100 wraps like a 32-bit scan
        {"99999999999999999999999", Dec, PidNone},
        {"0x1F", Hex, 31}, // "%x" takes a 0x prefix
        {"0X20", Hex, 32},
        {"-0x20", Hex, PidNone},
        {"0xg", Hex, PidNone}, // the 0 alone
        {"0x", Hex, PidNone},
        {"0x20", Dec, PidNone}, // decimal reads the 0 only
    };
    for (const Case& c : cases)
        EXPECT_EQ(PidFromText(c.text, c.radix), c.stored) << '"' << c.text << "\" in " << Name(c.radix);
}

TEST(PidText, LeadingNumberAsTheScannerReadsIt) {
    struct Case {
        const char* text;
        Radix radix;
        std::optional<int32_t> number;
    };
    const Case cases[] = {
        {"  -12x", Dec, -12},
        {"+7", Dec, 7},
        {"-", Dec, std::nullopt},
        {"+", Hex, std::nullopt},
        {"", Hex, std::nullopt},
        {"x1", Dec, std::nullopt},
        {"- 5", Dec, std::nullopt}, // no blank between sign and digits
        {"4294967295", Dec, -1},
        {"FFFFFFFF", Hex, -1},
        {"1FFFFFFFF", Hex, -1},
        {"7fffffff", Hex, 2147483647},
        {"-2147483648", Dec, INT32_MIN},
        {"0x", Hex, 0},
        {"0xg", Hex, 0},
        {"-0X1f", Hex, -31},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanLeadingNumber(c.text, c.radix), c.number) << '"' << c.text << "\" in " << Name(c.radix);
}

TEST(PidText, LeavingAnOutputBoxWarnsOutside32To8190) {
    struct Case {
        const char* text;
        Radix radix;
        bool warns;
    };
    const Case cases[] = {
        {"31", Dec, true},       {"32", Dec, false},    {"29", Dec, true},   {"8190", Dec, false},
        {"8191", Dec, true},     {"9999", Dec, true},   {"1F", Hex, true},   {"20", Hex, false},
        {"17", Hex, true},       {"1FFE", Hex, false},  {"FFFF", Hex, true}, {"0", Dec, true},
        {"", Dec, false},        {"   ", Hex, false},   // nothing typed: no warning
        {"  100  ", Dec, false},                        // blanks are trimmed first
        {".", Dec, true},        {",", Hex, true},      // no number: a bad value
        {"100,7", Dec, false},   {"65568", Dec, false}, // low 16 bits: 32
    };
    for (const Case& c : cases)
        EXPECT_EQ(PidExitWarns(c.text, c.radix), c.warns) << '"' << c.text << "\" in " << Name(c.radix);
    EXPECT_STREQ(PidRangeWarning, "Values allows (32 - 8190)");
}

TEST(PidText, FormatsForBoxesAndCells) {
    struct Case {
        int16_t pid;
        const char* boxDecimal;
        const char* boxHex;
        const char* cellDecimal;
        const char* cellHex;
    };
    const Case cases[] = {
        {256, "256", "0100", " 256", "0100"},
        {8191, "", "", "8191", "1FFF"}, // absent: blank box, number in the list
        {8190, "8190", "1FFE", "8190", "1FFE"},
        {32, "32", "0020", "  32", "0020"},
        {0, "0", "0000", "   0", "0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlankIfNone(FormatPidForBox(c.pid, Dec)), c.boxDecimal) << c.pid;
        EXPECT_EQ(BlankIfNone(FormatPidForBox(c.pid, Hex)), c.boxHex) << c.pid;
        EXPECT_EQ(FormatCell(c.pid, Dec), c.cellDecimal) << c.pid;
        EXPECT_EQ(FormatCell(c.pid, Hex), c.cellHex) << c.pid;
    }
    // A service ID in a list cell takes the same formats; in its box it is unsigned decimal.
    EXPECT_EQ(FormatCell(65535, Dec), "65535");
    EXPECT_EQ(FormatCell(65535, Hex), "FFFF");
    EXPECT_EQ(FormatServiceIdForBox(65535), "65535");
    EXPECT_EQ(FormatServiceIdForBox(0), "0");
}

TEST(PidText, BlankIfNoneBlanksOnlyTheExactAbsentTexts) {
    const std::pair<const char*, const char*> cases[] = {
        {"8191", ""},       {"1FFF", ""},     {"1fff", "1fff"}, {" 8191", " 8191"},
        {"08191", "08191"}, {"8190", "8190"}, {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(BlankIfNone(in), out) << '"' << in << '"';
}

TEST(PidText, TrimBlanksRemovesOnlyOuterBlanks) {
    EXPECT_EQ(TrimBlanks("  1 2\t "), "1 2");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("abc"), "abc");
}

} // namespace
} // namespace kv
