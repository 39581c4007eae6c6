#include "cli/project_input.h"

#include <fstream>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/show_image.h"
#include "model/project_file.h"
#include "tables/image_file.h"

namespace kv::cli {

void ReportRefusals(const std::string& path, const ComposeResult& result, bool checkErrors) {
    for (const DescriptionRefusal& refusal : result.Refusals) {
        if (!checkErrors && refusal.Forcible && refusal.Path.empty()) continue;
        Complain(path, (result.Taken ? "warning: " : "") + refusal.Text());
    }
}

int LoadDescriptionFile(const std::string& path, ConfigStore& store) {
    if (!std::ifstream(path)) {
        Complain(path, "Cannot open input file.", OpenFailureReason(path));
        return ExitNoInput;
    }
    const ComposeResult result = ReadDescriptionFile(path, store, ComposeForce::All);
    ReportRefusals(path, result, false);
    return result.Taken ? 0 : ExitDataErr;
}

int LoadProjectFile(const std::string& path, ConfigStore& store) {
    if (IsDescriptionPath(path)) return LoadDescriptionFile(path, store);
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
