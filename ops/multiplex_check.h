#pragma once
// The multiplex check: what the output of a configuration carries, PID by
// PID, and what is wrong with it before it goes on air. One check serves the
// editors, "Send Mux", the multiplex map and the command line.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv {

enum class Severity { Warning, Error };

struct Finding {
    Severity severity = Severity::Error;
    std::string Code;      // errors "empty", "pid-range", "pid-conflict", "pid-generated", "pmt-pid",
                           // "pcr-adjust", "service-id", "limit"; warnings "pid-reserved",
                           // "input-split", "no-pcr", "rate-table"
    std::string Message;   // names the services, inputs and PIDs involved
    std::vector<int> Pids; // the output (or input) PIDs the finding is about
};

// One use of an output PID. Generated tables have Input 0 and InputPid -1.
struct OutputUse {
    int Pid = 0;
    std::string Carries; // "PAT", "NIT", "SDT", "PMT of NEWS", "video of NEWS", "audio 2 of SPORT", "ghost"
    int Input = 0;       // 1..8 for a stream or ghost entry
    int InputPid = -1;
};

struct MultiplexReport {
    std::vector<Finding> Findings;       // errors first, then warnings
    std::vector<OutputUse> Outputs;      // ascending by PID; a PID used twice has two rows
    std::array<int, InputCount> Pairs{}; // pairs (input PID -> output PID) per input 1..8
    int Services = 0;
    int AdjustedPcrs = 0;
    int Errors() const;
    int Warnings() const;
};

inline constexpr const char* EmptyMultiplexMessage =
    "The multiplex has no services and no ghost entries: sending it leaves the device with no output.";

MultiplexReport CheckMultiplex(const ConfigStore& store);

// What "Send Mux" asks when the check finds errors: "The multiplex has N
// errors:", the error messages one a line (at most ten, then "..."), and
// "Send anyway?". Empty without errors.
std::string SendAnywayQuestion(const MultiplexReport& report);

} // namespace kv
