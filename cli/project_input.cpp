#include "cli/project_input.h"

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/show_image.h"
#include "model/project_file.h"
#include "tables/image_file.h"

namespace kv::cli {

int LoadProjectFile(const std::string& path, ConfigStore& store) {
    std::string problem;
    const ProjectFileStatus status = ReadProjectFile(path, store, &problem);
    if (status == ProjectFileStatus::Ok) return 0;
    if (status == ProjectFileStatus::CannotOpen) {
        Complain(path, ProjectFileMessage(status), OpenFailureReason(path));
        return ExitNoInput;
    }
    if (const auto bytes = ReadImageFile(path); bytes && LooksLikeImage(*bytes))
        problem =
            "a configuration image, not a project file; \"kv2208-cli decode\" makes a project file of it";
    Complain(path, ProjectFileMessage(status), problem);
    return ExitDataErr;
}

} // namespace kv::cli
