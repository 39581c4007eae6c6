#pragma once
// How the command line shows the multiplex check: one finding a line, the
// whole report as JSON, and the exit status it gives.

#include <string>

#include <nlohmann/json.hpp>

#include "ops/multiplex_check.h"

namespace kv::cli {

// "error pid-conflict: Output PID 512 (0x0200) is carried from 2 sources: ..."
std::string FindingLine(const Finding& finding);

// {"findings": [{"severity", "code", "message", "pids"}], "outputs": [{"pid",
// "carries", "input", "input_pid"}], "inputs": [{"input", "pairs"}],
// "services": n, "adjusted_pcrs": n}
nlohmann::json ReportJson(const MultiplexReport& report);

// 0 with no findings, 1 with warnings only, ExitDataErr with errors.
int CheckStatus(const MultiplexReport& report);

} // namespace kv::cli
