#pragma once
// The text of a fixed char field of the store or of an image: its bytes up to
// the first NUL, never past the field (a full field has no NUL).

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace kv {

inline std::string_view BoundedText(const char* field, std::size_t size) {
    return std::string_view(field, static_cast<std::size_t>(std::find(field, field + size, '\0') - field));
}

template <std::size_t N> std::string_view BoundedText(const char (&field)[N]) {
    return BoundedText(field, N);
}

} // namespace kv
