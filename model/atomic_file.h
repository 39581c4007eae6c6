#pragma once
// Files are never cut short: a file is written to a temporary file beside it
// and renamed over the old one only when it is complete, so an interrupt, a
// full disk or a crash leaves either the old file or the new one. Every
// writer of the programs goes through here.

#include <cstddef>
#include <cstdio>
#include <string>

namespace kv {

// A file being replaced. Write into Stream(); Commit() makes it the file at
// the path. Dropped without Commit (or when Commit fails), the temporary file
// is removed and the old file stays as it was.
// A path that names something other than a regular file (a terminal, a pipe,
// /dev/null) cannot be replaced by a rename and is written in place.
class AtomicFile {
  public:
    AtomicFile() = default;
    ~AtomicFile(); // Discard
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the temporary file cannot be created; Error() says why.
    bool Open(const std::string& path);
    std::FILE* Stream() const { return file_; }
    // Flushes the data to the disk and renames; false (and the old file
    // kept) when anything fails.
    bool Commit();
    void Discard();
    int Error() const { return error_; } // errno of the first failure, 0 when none

  private:
    std::string path_;
    std::string temp_; // empty when written in place
    std::FILE* file_ = nullptr;
    int error_ = 0;
};

// The whole content at once. 0, or the errno value of the failure.
int WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace kv
