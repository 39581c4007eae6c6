#include "cli/project_image.h"

#include <iostream>
#include <memory>

#include "cli/command_registry.h"
#include "model/project_file.h"
#include "tables/image_file.h"
#include "tables/image_writer.h"
#include "tables/readback_display.h"

namespace kv::cli {

bool StoreFitsImage(const ConfigStore& store) {
    const auto refusal = ImageLimitViolation(store);
    if (refusal) std::cerr << *refusal << '\n';
    return !refusal;
}

int DecodeImageFile(const std::string& imagePath, const std::string& projectPath) {
    const auto image = ReadImageFile(imagePath);
    if (!image) {
        std::cerr << "Cannot open input file." << '\n';
        return ExitDataErr;
    }
    ReadBackResult result;
    const auto store = std::make_unique<ConfigStore>(DecodeImageToProject(*image, &result));
    // What "Get" would show in its message boxes.
    for (const std::string& message : result.Messages) std::cerr << message << '\n';
    const ProjectFileStatus status = WriteProjectFile(projectPath, *store);
    if (status != ProjectFileStatus::Ok) {
        std::cerr << ProjectFileMessage(status) << '\n';
        return ExitDataErr;
    }
    return 0;
}

} // namespace kv::cli
