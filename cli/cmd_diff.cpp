// kv2208-cli diff A B [--json]: the differences in what the images of two
// configurations carry, each a project file or an image; exit 0 when equal,
// 1 when different, as diff(1) exits.
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/config_source.h"
#include "cli/diff_output.h"

namespace kv::cli {
namespace {

struct DiffArguments {
    std::string a, b;
    bool json = false;
};

int Diff(const DiffArguments& args) {
    auto a = std::make_unique<ConfigStore>();
    auto b = std::make_unique<ConfigStore>();
    if (const int status = LoadConfiguration(args.a, *a)) return status;
    if (const int status = LoadConfiguration(args.b, *b)) return status;
    return PrintDiff(DiffMultiplex(*a, *b), args.json);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<DiffArguments>();
    CLI::App* cmd = app.add_subcommand("diff", "Show what differs between the images of two configurations");
    cmd->add_option("A", args->a, "project file (*.MUX), description (*.json) or configuration image")
        ->required();
    cmd->add_option("B", args->b, "project file (*.MUX), description (*.json) or configuration image")
        ->required();
    cmd->add_flag("--json", args->json, "the differences as JSON");
    cmd->callback([args, &status] { status = Diff(*args); });
});

} // namespace
} // namespace kv::cli
