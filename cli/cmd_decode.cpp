// kv2208-cli decode IMAGE -o PROJECT.MUX: the project file a freshly started
// program saves after "Get" of that image.
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/project_image.h"

namespace kv::cli {
namespace {

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto image = std::make_shared<std::string>();
    auto project = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "decode", "Turn a configuration image into the project file \"Get\" and \"Save\" make");
    cmd->add_option("IMAGE", *image, "configuration image or read-back file")->required();
    cmd->add_option("-o,--output", *project, "project file (*.MUX) to write")->required();
    cmd->callback([image, project, &status] { status = DecodeImageFile(*image, *project); });
});

} // namespace
} // namespace kv::cli
