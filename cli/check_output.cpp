#include "cli/check_output.h"

#include "cli/command_registry.h"

namespace kv::cli {
namespace {

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace

std::string FindingLine(const Finding& finding) {
    return std::string(SeverityName(finding.severity)) + " " + finding.Code + ": " + finding.Message;
}

nlohmann::json ReportJson(const MultiplexReport& report) {
    nlohmann::json findings = nlohmann::json::array();
    for (const Finding& f : report.Findings)
        findings.push_back({{"severity", SeverityName(f.severity)},
                            {"code", f.Code},
                            {"message", f.Message},
                            {"pids", f.Pids}});
    nlohmann::json outputs = nlohmann::json::array();
    for (const OutputUse& o : report.Outputs) {
        nlohmann::json row = {
            {"pid", o.Pid}, {"carries", o.Carries}, {"input", nullptr}, {"input_pid", nullptr}};
        if (o.InputPid >= 0) {
            row["input"] = o.Input;
            row["input_pid"] = o.InputPid;
        }
        outputs.push_back(row);
    }
    nlohmann::json inputs = nlohmann::json::array();
    for (int input = 1; input <= InputCount; ++input)
        inputs.push_back({{"input", input}, {"pairs", report.Pairs[input - 1]}});
    return {{"findings", findings},
            {"outputs", outputs},
            {"inputs", inputs},
            {"services", report.Services},
            {"adjusted_pcrs", report.AdjustedPcrs}};
}

int CheckStatus(const MultiplexReport& report) {
    if (report.Errors() > 0) return ExitDataErr;
    return report.Findings.empty() ? 0 : 1;
}

} // namespace kv::cli
