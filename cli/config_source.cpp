#include "cli/config_source.h"

#include <memory>
#include <optional>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_input.h"
#include "cli/show_image.h"
#include "model/project_file.h"
#include "ops/multiplex_description.h"
#include "ops/readback_display.h"
#include "tables/image_check.h"
#include "tables/image_file.h"
#include "tables/image_writer.h"

namespace kv::cli {
namespace {

// The file's bytes, or the exit status with the reason reported.
std::optional<std::vector<uint8_t>> ReadBytes(const std::string& path, int& status) {
    auto bytes = ReadImageFile(path);
    if (!bytes) {
        Complain(path, "Cannot open input file.", OpenFailureReason(path));
        status = ExitNoInput;
    }
    return bytes;
}

// The project file in `bytes`, or ExitDataErr with why it is none.
int ProjectOf(const std::string& path, const std::vector<uint8_t>& bytes, ConfigStore& store) {
    std::string problem;
    const ProjectFileStatus status = ReadProjectBytes(bytes.data(), bytes.size(), store, &problem);
    if (status == ProjectFileStatus::Ok) return 0;
    Complain(path, ProjectFileMessage(status),
             "neither a project file nor a configuration image: " + problem);
    return ExitDataErr;
}

} // namespace

int DecodeAsGet(const std::string& subject, const std::vector<uint8_t>& image, ConfigStore& store) {
    ReadBackResult result;
    store = DecodeImageToProject(image, &result);
    const std::vector<std::string> problems = ImageDecodeProblems(image, result);
    for (const std::string& problem : problems) Complain(subject, problem);
    return problems.empty() ? 0 : ExitDataErr;
}

int LoadConfiguration(const std::string& path, ConfigStore& store) {
    if (IsDescriptionPath(path)) return LoadDescriptionFile(path, store);
    int status = 0;
    const auto bytes = ReadBytes(path, status);
    if (!bytes) return status;
    if (LooksLikeImage(*bytes)) return DecodeAsGet(path, *bytes, store);
    return ProjectOf(path, *bytes, store);
}

int ImageToSend(const std::string& path, std::vector<uint8_t>& image) {
    auto store = std::make_unique<ConfigStore>();
    if (IsDescriptionPath(path)) {
        if (const int refused = LoadDescriptionFile(path, *store)) return refused;
    } else {
        int status = 0;
        const auto bytes = ReadBytes(path, status);
        if (!bytes) return status;
        if (LooksLikeImage(*bytes)) {
            image = *bytes;
            return 0;
        }
        if (const int refused = ProjectOf(path, *bytes, *store)) return refused;
    }
    if (const auto refusal = ImageLimitViolation(*store)) {
        Complain(path, *refusal);
        return ExitDataErr;
    }
    image = BuildConfigImage(*store, 1);
    return 0;
}

} // namespace kv::cli
