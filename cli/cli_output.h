#pragma once
// How the command line reports and writes: every message on stderr names
// what it is about and why, and "-" as an output file is standard output.

#include <cstdint>
#include <string>
#include <vector>

namespace kv::cli {

// "kv2208-cli: SUBJECT: MESSAGE (REASON)"; an empty subject or reason is left out.
void Complain(const std::string& subject, const std::string& message, const std::string& reason = "");

// What a failure just complained of means and what to check, indented on
// the following line; nothing when empty.
void Explain(const std::string& explanation);

// Why `path` cannot be opened for reading, as strerror says it.
std::string OpenFailureReason(const std::string& path);

// Writes `bytes` to `path` ("-": standard output). 0, ExitCantCreate when the
// file cannot be created, ExitIoErr when not every byte reached it; the
// failure has been reported.
int WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes);
int WriteOutputFile(const std::string& path, const std::string& text);

// Progress of long waits on stderr, only when stderr is a terminal and -q was
// not given; each call replaces the line the last one wrote.
void SetQuiet(bool quiet);
void ShowProgress(const std::string& line);
// For TransferTiming::Progress: "STEP: N records".
void ShowTransferProgress(const char* step, int records);
void EndProgress();

} // namespace kv::cli
