#include "ops/table_version.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "tables/image_file.h"
#include "tables/readback_parse.h"

namespace kv {
namespace {

struct Kept {
    std::filesystem::file_time_type Written;
    int Version = -1;
};

std::optional<Kept> VersionKeptIn(const std::string& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    const std::optional<std::vector<uint8_t>> image = ReadImageFile(path);
    if (!image) return std::nullopt;
    auto scratch = std::make_unique<ConfigStore>();
    const int version = ParseReadBack(*image, *scratch).PatVersion;
    if (version < 0) return std::nullopt;
    return Kept{written, version};
}

} // namespace

std::optional<int> LastPatVersion(const DeviceFiles& files) {
    const std::optional<Kept> sent = VersionKeptIn(files.ImageFile);
    const std::optional<Kept> readBack = VersionKeptIn(files.ReadBackFile);
    if (sent && readBack) return (readBack->Written > sent->Written ? readBack : sent)->Version;
    if (sent) return sent->Version;
    if (readBack) return readBack->Version;
    return std::nullopt;
}

} // namespace kv
