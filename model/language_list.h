#pragma once
// The language list of the subtitle dialog: ISO 639-2 codes with their
// English names, in the device's order ("aar Afar" .. "zza Zaza; ..."). The
// texts are UTF-8. The table itself is generated (model/language_list_data.cpp,
// by scripts/gen_languages.py).

#include <span>

namespace kv {

inline constexpr int LanguageCount = 504;
inline constexpr int DefaultLanguageIndex = 362; // "por Portuguese"

std::span<const char* const> LanguageItems();

} // namespace kv
