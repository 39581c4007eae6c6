#include "model/project_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/atomic_file.h"
#include "model/file_path.h"
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

ProjectFileStatus ReadProjectFile(const std::string& path, ConfigStore& store, std::string* problem) {
    FilePtr file(OpenUtf8File(path, "rb"));
    if (!file || !IsRegularFile(file.get())) return ProjectFileStatus::CannotOpen;

    // One byte beyond the project size, so that a longer file is seen.
    std::vector<uint8_t> bytes(ProjectFileSize + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        if (problem) *problem = "read error";
        return ProjectFileStatus::Corrupted;
    }
    return ReadProjectBytes(bytes.data(), got, store, problem);
}

ProjectFileStatus ReadProjectBytes(const uint8_t* bytes, std::size_t size, ConfigStore& store,
                                   std::string* problem) {
    if (bytes == nullptr || size != ProjectFileSize) {
        if (problem)
            *problem = (size > ProjectFileSize ? "more than " + std::to_string(ProjectFileSize)
                                               : std::to_string(bytes ? size : 0)) +
                       " bytes, a project file has " + std::to_string(ProjectFileSize);
        return ProjectFileStatus::Corrupted;
    }
    // Checked in a scratch copy: the store is touched only by bytes that pass.
    auto scratch = std::make_unique<ConfigStore>();
    std::memcpy(scratch.get(), bytes, ProjectFileSize);
    if (auto violation = StoreStructureViolation(*scratch)) {
        if (problem) *problem = std::move(*violation);
        return ProjectFileStatus::Corrupted;
    }
    std::memcpy(&store, scratch.get(), ProjectFileSize);
    return ProjectFileStatus::Ok;
}

ProjectFileStatus WriteProjectFile(const std::string& path, const ConfigStore& store) {
    AtomicFile file;
    if (!file.Open(path)) return ProjectFileStatus::CannotCreate;
    const std::size_t written = std::fwrite(&store, 1, ProjectFileSize, file.Stream());
    if (written != ProjectFileSize || !file.Commit()) return ProjectFileStatus::WriteFailed;
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
