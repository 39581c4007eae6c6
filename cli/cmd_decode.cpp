// kv2208-cli decode IMAGE -o PROJECT.MUX: the project file a freshly started
// program saves after "Get" of that image.
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "model/project_file.h"
#include "tables/image_file.h"
#include "tables/readback_display.h"

namespace kv::cli {
namespace {

int Decode(const std::string& imagePath, const std::string& projectPath) {
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

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto image = std::make_shared<std::string>();
    auto project = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("decode", "Turn a configuration image into the project file \"Get\" and \"Save\" make");
    cmd->add_option("IMAGE", *image, "configuration image or read-back file")->required();
    cmd->add_option("-o,--output", *project, "project file (*.MUX) to write")->required();
    cmd->callback([image, project, &status] { status = Decode(*image, *project); });
});

} // namespace
} // namespace kv::cli
