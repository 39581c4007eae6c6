#include "cli/check_gate.h"

#include "cli/check_output.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"

namespace kv::cli {

void AddForceOption(CLI::App& cmd, bool& force) {
    cmd.add_flag("--force", force, "go on although the multiplex check finds errors (see check)");
}

int RefuseOnErrors(const std::string& project, const ConfigStore& store, bool force) {
    const MultiplexReport report = CheckMultiplex(store);
    if (report.Errors() == 0) return 0;
    for (const Finding& f : report.Findings) Complain(project, FindingLine(f));
    if (force) return 0;
    Complain(project,
             std::to_string(report.Errors()) + " errors in the multiplex; --force goes on all the same");
    return ExitDataErr;
}

} // namespace kv::cli
