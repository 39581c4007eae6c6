#include "model/subtitle_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "model/bounded_text.h"
#include "model/language_list.h"
#include "model/pid_text.h"

namespace kv {
namespace {

constexpr const char* TypeItems[SubtitleTypeCount] = {
    "0x01 EBU Teletext subtitles",
    "0x02 associated EBU Teletext",
    "0x03 VBI data",
    "0x10 DVB subtitles (normal) with no monitor aspect ratio criticatilty",
    "0x11 DVB subtitles (normal) for display on 4:3 aspect ratio monitor",
    "0x12 DVB subtitles (normal) for display on 16:9 aspect ratio monitor",
    "0x13 DVB subtitles (normal) for display on 2.21:1 aspect ratio monitor",
    "0x20 DVB subtitles (for the hard of hearing) with no monitor aspect ratio criticatilty",
    "0x21 DVB subtitles (for the hard of hearing) for display on 4:3 aspect ratio monitor",
    "0x22 DVB subtitles (for the hard of hearing) for display on 16:9 aspect ratio monitor",
    "0x23 DVB subtitles (for the hard of hearing) for display on 2.21:1 aspect ratio monitor",
    "",
    "",
};

constexpr std::size_t LanguageCodeLength = sizeof(DataSlot::SubLang) - 1; // three letters and a NUL
constexpr std::size_t TypePrefixLength = 4;                               // "0x10"

// The first `n` characters of `text` (all of it when shorter).
std::string_view Prefix(std::string_view text, std::size_t n) {
    return text.substr(0, std::min(n, text.size()));
}

// Index of the first item whose first `n` characters equal `key`; 0 when
// none does.
int FirstItemWithPrefix(std::span<const char* const> items, std::string_view key, std::size_t n) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Prefix(items[i], n) == key) return static_cast<int>(i);
    return 0;
}

} // namespace

std::span<const char* const> SubtitleTypeItems() {
    return TypeItems;
}

std::string FirstWord(std::string_view itemText) {
    return std::string(itemText.substr(0, std::min(itemText.find(' '), itemText.size())));
}

std::string StoredLanguage(const DataSlot& slot) {
    return std::string(BoundedText(slot.SubLang, LanguageCodeLength));
}

int LanguageIndexFor(std::string_view code) {
    return FirstItemWithPrefix(LanguageItems(), code, LanguageCodeLength);
}

std::string SubtitleTypeLabel(int32_t subType) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%2.2X", static_cast<unsigned>(subType));
    return text;
}

int SubtitleTypeIndexFor(std::string_view label) {
    return FirstItemWithPrefix(SubtitleTypeItems(), label, TypePrefixLength);
}

void WriteSubtitleChoice(DataSlot& slot, const SubtitleChoice& choice) {
    if (!choice.Enabled) {
        slot.SubEnable = 0;
        return;
    }
    slot.SubEnable = 1;
    slot.DataType = choice.DataType;
    // A code longer than three letters ("qaa-qtz", a typed word) is cut.
    const std::string_view code = Prefix(choice.LanguageLabel, LanguageCodeLength);
    std::memset(slot.SubLang, 0, sizeof slot.SubLang);
    std::memcpy(slot.SubLang, code.data(), code.size());
    if (choice.DataType == DataTypeScte) {
        slot.SubType = 0;
    } else if (const auto number = ScanLeadingNumber(choice.TypeLabel, Radix::Hexadecimal)) {
        slot.SubType = *number;
    }
}

} // namespace kv
