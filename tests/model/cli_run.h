#pragma once
// Running kv2208-cli (or another program) from a test, with both output
// streams captured in files of the test's own folder.

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <string>
#include <vector>

#include "model_test_support.h"

namespace kv::test {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// cmd.exe: arguments in double quotes (the tests pass none with quotes in them).
inline std::string ShellQuoted(const std::string& s) {
    return "\"" + s + "\"";
}
#else
inline std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
#endif

// Runs `program` with `args`, each quoted for the shell; `environment` is a
// prefix such as "HOME=/tmp/x " put before the command.
inline ProgramRun RunProgram(const TempFolder& folder, const std::string& program,
                             const std::vector<std::string>& args, const std::string& environment = "") {
    const std::string out = folder.File("run.out");
    const std::string err = folder.File("run.err");
    std::string command = environment + ShellQuoted(program);
    for (const std::string& arg : args) command += " " + ShellQuoted(arg);
#ifdef _WIN32
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " <NUL";
    // cmd /c drops the first and the last quote of a line that starts with one.
    ProgramRun run;
    run.status = std::system(("\"" + command + "\"").c_str());
#else
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    const auto outBytes = ReadBytes(out);
    const auto errBytes = ReadBytes(err);
    run.out.assign(outBytes.begin(), outBytes.end());
    run.err.assign(errBytes.begin(), errBytes.end());
    return run;
}

inline ProgramRun RunCli(const TempFolder& folder, const std::vector<std::string>& args) {
    return RunProgram(folder, KV_CLI_PATH, args);
}

} // namespace kv::test
