// kv2208-cli export FILE [-o OUT.json]: the description of a project file or
// of an image decoded as "Get" decodes it, as JSON text for people.
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/config_source.h"
#include "ops/multiplex_description.h"

namespace kv::cli {
namespace {

struct ExportArguments {
    std::string file;
    std::string output = "-";
};

int Export(const ExportArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (const int status = LoadConfiguration(args.file, *store)) return status;
    return WriteOutputFile(args.output, DescriptionText(*store));
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ExportArguments>();
    CLI::App* cmd = app.add_subcommand("export", "Write the description (JSON) of a project file or image");
    cmd->add_option("FILE", args->file, "project file (*.MUX) or configuration image")->required();
    cmd->add_option("-o,--output", args->output, "description to write (*.json), - for standard output");
    cmd->callback([args, &status] { status = Export(*args); });
});

} // namespace
} // namespace kv::cli
