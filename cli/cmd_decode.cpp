// kv2208-cli decode IMAGE -o PROJECT.MUX [--partial]: the project file a
// freshly started program saves after "Get" of that image. Anything that is
// not a whole configuration image is refused (65) and nothing is written,
// unless --partial asks for what could be read.
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/project_image.h"

namespace kv::cli {
namespace {

struct DecodeArguments {
    std::string image;
    std::string project;
    bool partial = false;
};

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<DecodeArguments>();
    CLI::App* cmd = app.add_subcommand(
        "decode", "Turn a configuration image into the project file \"Get\" and \"Save\" make");
    cmd->add_option("IMAGE", args->image, "configuration image or read-back file")->required();
    cmd->add_option("-o,--output", args->project, "project file (*.MUX) to write")->required();
    cmd->add_flag("--partial", args->partial, "write what could be read of a damaged image (still exits 65)");
    cmd->callback([args, &status] { status = DecodeImageFile(args->image, args->project, args->partial); });
});

} // namespace
} // namespace kv::cli
