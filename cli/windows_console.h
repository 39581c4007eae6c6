#pragma once
// kv2208-cli on Windows: arguments as UTF-8 like on Linux (file names with
// letters outside the ANSI code page included), standard output and error
// written byte for byte (an image to "-" stays an image), and the console
// showing UTF-8.

namespace kv::cli {

// Replaces argc/argv by the UTF-8 form of the command line; the strings
// live until the program ends.
void PrepareWindowsConsole(int& argc, char**& argv);

} // namespace kv::cli
