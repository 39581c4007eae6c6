// kv2208-cli image PROJECT.MUX -o IMAGE [--pat-version N] [--rate BPS --mode byte|pack]:
// the configuration image exactly as "Send Mux" builds it from that store.
#include <memory>
#include <string>

#include "cli/check_gate.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "tables/image_writer.h"

namespace kv::cli {
namespace {

struct ImageArguments {
    std::string project;
    std::string output;
    ImageOptions image;
    bool force = false;
};

int WriteImage(const ImageArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (const int status = PrepareProject(args.project, args.image, *store)) return status;
    if (const int status = RefuseOnErrors(args.project, *store, args.force)) return status;
    return WriteOutputFile(args.output, BuildConfigImage(*store, args.image.PatVersionOr(1)));
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ImageArguments>();
    CLI::App* cmd =
        app.add_subcommand("image", "Write the configuration image that \"Send Mux\" sends for a project");
    cmd->add_option("PROJECT", args->project, "project file (*.MUX) or description (*.json)")->required();
    cmd->add_option("-o,--output", args->output, "image file to write, - for standard output")->required();
    AddImageOptions(*cmd, args->image);
    AddForceOption(*cmd, args->force);
    cmd->callback([args, &status] { status = WriteImage(*args); });
});

} // namespace
} // namespace kv::cli
