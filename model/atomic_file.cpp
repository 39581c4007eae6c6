#include "model/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "model/file_path.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kv {
namespace {

namespace fs = std::filesystem;

// A name no other writer of the same file picks at the same time:
// ".NAME.tmp-STAMP-COUNT" in the same folder, so the rename stays on one
// file system.
std::string TemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const fs::path target = SystemPath(path);
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string name = "." + Utf8Text(target.filename()) + ".tmp-" + std::to_string(stamp) + "-" +
                             std::to_string(counter.fetch_add(1));
    return Utf8Text(target.parent_path() / SystemPath(name));
}

int SyncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return errno ? errno : EIO;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0 ? 0 : errno;
#else
    // A device or pipe written in place may not sync; that is no failure.
    return fsync(fileno(file)) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
#endif
}

} // namespace

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open(const std::string& path) {
    Discard();
    error_ = 0;
    std::error_code ec;
    // A link is kept: the file it leads to is the one replaced.
    const fs::path asGiven = SystemPath(path);
    const fs::path resolved =
        fs::is_symlink(fs::symlink_status(asGiven, ec)) ? fs::weakly_canonical(asGiven, ec) : asGiven;
    path_ = ec ? path : Utf8Text(resolved);
    const fs::file_status status = fs::status(SystemPath(path_), ec);
    const bool inPlace = fs::exists(status) && !fs::is_regular_file(status);
    temp_ = inPlace ? std::string() : TemporaryBeside(path_);
    file_ = OpenUtf8File(inPlace ? path_ : temp_, "wb");
    if (file_ == nullptr) {
        error_ = errno ? errno : EIO;
        temp_.clear();
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    if (!inPlace && fs::exists(status)) fs::permissions(SystemPath(temp_), status.permissions(), ec);
    return true;
}

bool AtomicFile::Commit() {
    if (file_ == nullptr) return false;
    if (std::ferror(file_) && error_ == 0) error_ = EIO;
    if (error_ == 0) error_ = SyncToDisk(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed && error_ == 0) error_ = errno ? errno : EIO;
    if (error_ == 0 && !temp_.empty()) {
        std::error_code ec;
        fs::rename(SystemPath(temp_), SystemPath(path_), ec);
        if (ec)
            error_ = ec.value();
        else
            temp_.clear();
    }
    Discard();
    return error_ == 0;
}

void AtomicFile::Discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) {
        std::error_code ec;
        fs::remove(SystemPath(temp_), ec);
    }
    temp_.clear();
}

int WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
    AtomicFile file;
    if (!file.Open(path)) return file.Error();
    if (size > 0 && std::fwrite(data, 1, size, file.Stream()) != size) {
        const int error = errno ? errno : EIO;
        file.Discard();
        return error;
    }
    return file.Commit() ? 0 : file.Error();
}

} // namespace kv
