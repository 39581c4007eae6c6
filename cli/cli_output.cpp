#include "cli/cli_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/command_registry.h"
#include "model/atomic_file.h"
#include "model/file_path.h"

namespace kv::cli {
namespace {

bool quiet = false;
bool progressShown = false;

int WriteBytes(const std::string& path, const char* data, std::size_t size) {
    const bool toStdout = path == "-";
    AtomicFile file;
    if (!toStdout && !file.Open(path)) {
        Complain(path, "Cannot create output file.", std::strerror(file.Error()));
        return ExitCantCreate;
    }
    std::FILE* out = toStdout ? stdout : file.Stream();
    const bool written = std::fwrite(data, 1, size, out) == size;
    int error = written ? 0 : errno;
    if (toStdout && std::fflush(out) != 0 && error == 0) error = errno ? errno : EIO;
    if (!toStdout && error == 0 && !file.Commit()) error = file.Error();
    if (!written || error != 0) {
        Complain(toStdout ? "standard output" : path, "Cannot write output file.",
                 std::strerror(error ? error : EIO));
        return ExitIoErr;
    }
    return 0;
}

} // namespace

void Complain(const std::string& subject, const std::string& message, const std::string& reason) {
    EndProgress();
    std::cerr << "kv2208-cli: ";
    if (!subject.empty()) std::cerr << subject << ": ";
    std::cerr << message;
    if (!reason.empty()) std::cerr << " (" << reason << ')';
    std::cerr << '\n';
}

void Explain(const std::string& explanation) {
    if (!explanation.empty()) std::cerr << "  " << explanation << '\n';
}

std::string OpenFailureReason(const std::string& path) {
    std::FILE* file = OpenUtf8File(path, "rb");
    const int error = errno;
    if (file) std::fclose(file);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(SystemPath(path), ec);
    if (std::filesystem::is_directory(status)) return std::strerror(EISDIR);
    if (!file) return std::strerror(error);
    return std::filesystem::is_regular_file(status) ? "" : "not a regular file";
}

int WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteBytes(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

int WriteOutputFile(const std::string& path, const std::string& text) {
    return WriteBytes(path, text.data(), text.size());
}

void SetQuiet(bool q) {
    quiet = q;
}

void ShowProgress(const std::string& line) {
    if (quiet || !isatty(STDERR_FILENO)) return;
    std::cerr << "\r\033[K" << line << std::flush;
    progressShown = true;
}

void ShowTransferProgress(const char* step, int records) {
    ShowProgress(std::string(step) + ": " + std::to_string(records) + " records");
}

void EndProgress() {
    if (!progressShown) return;
    std::cerr << "\r\033[K" << std::flush;
    progressShown = false;
}

} // namespace kv::cli
