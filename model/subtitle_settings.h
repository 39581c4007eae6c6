#pragma once
// The subtitle settings of one data stream: the lists the subtitle dialog
// offers, how stored fields choose list items, and how the dialog's final
// state is written back into the stream's DataSlot.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/config_store.h"

namespace kv {

inline constexpr int SubtitleTypeCount = 13;
inline constexpr int DefaultSubtitleTypeIndex = 3; // "0x10 DVB subtitles (normal) ..."

// DataType of a data stream.
inline constexpr int16_t DataTypeDvb = 0;  // "DVB-S / ETS", stream_type 0x06
inline constexpr int16_t DataTypeScte = 1; // "DVB-C / SCTE", stream_type 0x82

// The subtitling type items; the last two are empty.
std::span<const char* const> SubtitleTypeItems();

// The text of a list item up to its first blank ("por Portuguese" gives "por").
std::string FirstWord(std::string_view itemText);

// The stored language code: at most three characters up to the first NUL.
std::string StoredLanguage(const DataSlot& slot);

// Index of the first language item whose first three characters are `code`;
// 0 when none is.
int LanguageIndexFor(std::string_view code);

// SubType as the dialog shows it: "0x%2.2X".
std::string SubtitleTypeLabel(int32_t subType);

// Index of the first type item whose first four characters equal `label`;
// 0 when none does.
int SubtitleTypeIndexFor(std::string_view label);

// What the dialog holds when it closes.
struct SubtitleChoice {
    bool Enabled = false;
    int16_t DataType = DataTypeDvb;
    std::string LanguageLabel; // the code shown under the language list
    std::string TypeLabel;     // the code shown under the type list ("0x10")
};

// Writes the choice into the slot. Enabled: SubEnable 1, DataType, SubLang
// (cut to three characters), SubType 0 for SCTE, else the hexadecimal number
// of the type label (kept when the label holds none). Not enabled: SubEnable
// 0, the other fields keep their values.
void WriteSubtitleChoice(DataSlot& slot, const SubtitleChoice& choice);

} // namespace kv
