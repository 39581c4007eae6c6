#include "model/project_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "model/store_invariants.h"

namespace kv {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Only a regular file is a project file: a folder or a device is not opened.
bool IsRegularFile(std::FILE* f) {
    struct stat st {};
    return fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

ProjectFileStatus ReadProjectFile(const std::string& path, ConfigStore& store) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file || !IsRegularFile(file.get())) return ProjectFileStatus::CannotOpen;

    // Read into a scratch copy and one byte beyond, so a file of any other
    // size is seen and the store is touched only by a file that passes.
    auto scratch = std::make_unique<ConfigStore>();
    unsigned char extra = 0;
    const std::size_t got = std::fread(scratch.get(), 1, ProjectFileSize, file.get());
    const bool longer = got == ProjectFileSize && std::fread(&extra, 1, 1, file.get()) != 0;
    if (std::ferror(file.get()) || got != ProjectFileSize || longer) return ProjectFileStatus::Corrupted;

    if (StoreInvariantViolation(*scratch)) return ProjectFileStatus::Corrupted;
    std::memcpy(&store, scratch.get(), ProjectFileSize);
    return ProjectFileStatus::Ok;
}

ProjectFileStatus WriteProjectFile(const std::string& path, const ConfigStore& store) {
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (!raw) return ProjectFileStatus::CannotCreate;
    const std::size_t written = std::fwrite(&store, 1, ProjectFileSize, raw);
    const bool flushed = std::fflush(raw) == 0;
    const bool closed = std::fclose(raw) == 0;
    if (written != ProjectFileSize || !flushed || !closed) return ProjectFileStatus::WriteFailed;
    return ProjectFileStatus::Ok;
}

const char* ProjectFileMessage(ProjectFileStatus status) {
    switch (status) {
    case ProjectFileStatus::Ok:
        return "";
    case ProjectFileStatus::CannotOpen:
        return "Cannot open input file.";
    case ProjectFileStatus::Corrupted:
        return "File corrupted!";
    case ProjectFileStatus::CannotCreate:
    case ProjectFileStatus::WriteFailed:
        return "Error at Save.";
    }
    return "";
}

} // namespace kv
