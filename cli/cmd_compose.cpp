// kv2208-cli compose DESC.json -o OUT.MUX [--force]: the project file of a
// description, made under the rules the editors and the bit-rate box apply.
// Every refusal names its JSON path; the editors' rules and the multiplex
// check's errors give way to --force, a value no project file can hold never.
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_input.h"
#include "ops/multiplex_description.h"

namespace kv::cli {
namespace {

struct ComposeArguments {
    std::string description;
    std::string output;
    bool force = false;
};

int Compose(const ComposeArguments& args) {
    if (!std::ifstream(args.description)) {
        Complain(args.description, "Cannot open input file.", OpenFailureReason(args.description));
        return ExitNoInput;
    }
    auto store = std::make_unique<ConfigStore>();
    const ComposeResult result =
        ReadDescriptionFile(args.description, *store, args.force ? ComposeForce::All : ComposeForce::None);
    ReportRefusals(args.description, result, true);
    if (!result.Taken) {
        const bool forcible = std::all_of(result.Refusals.begin(), result.Refusals.end(),
                                          [](const DescriptionRefusal& r) { return r.Forcible; });
        Complain(args.description, std::to_string(result.Refusals.size()) + " refused, nothing written" +
                                       (forcible ? "; --force composes it all the same" : ""));
        return ExitDataErr;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(store.get());
    return WriteOutputFile(args.output, std::vector<uint8_t>(bytes, bytes + sizeof(ConfigStore)));
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ComposeArguments>();
    CLI::App* cmd = app.add_subcommand("compose", "Make the project file of a description (JSON)");
    cmd->add_option("DESCRIPTION", args->description, "description (*.json)")->required();
    cmd->add_option("-o,--output", args->output, "project file (*.MUX) to write, - for standard output")
        ->required();
    cmd->add_flag("--force", args->force,
                  "compose although an editor's rule or the multiplex check refuses (values no project "
                  "file holds are refused all the same)");
    cmd->callback([args, &status] { status = Compose(*args); });
});

} // namespace
} // namespace kv::cli
