#pragma once
// Paths travel through the program as UTF-8 text. At the system's calls they
// become the system's own form: UTF-16 on Windows (so that a user name with
// letters outside ASCII works), the same bytes elsewhere.

#include <cstdio>
#include <filesystem>
#include <string>

namespace kv {

std::filesystem::path SystemPath(const std::string& utf8);
std::string Utf8Text(const std::filesystem::path& path);

// std::fopen for a UTF-8 path.
std::FILE* OpenUtf8File(const std::string& utf8Path, const char* mode);

} // namespace kv
