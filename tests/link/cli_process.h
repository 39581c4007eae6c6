#pragma once
// kv2208-cli as the operator runs it, for the tests: a copy of the program in
// a scratch program folder (so its Config folder is the test's own), and its
// simulator running in the background.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "link_test_support.h"
#include "model/app_paths.h"
#include "model/cli_run.h"

extern char** environ;

namespace kv::test {

using namespace std::chrono_literals;

// A scratch program folder holding its own copy of kv2208-cli.
class CliFolder : public test::ScratchFolder {
  public:
    CliFolder() : cli_(Path() + "kv2208-cli") { std::filesystem::copy_file(KV_CLI_PATH, cli_); }
    test::ProgramRun Run(const std::vector<std::string>& args) const {
        return test::RunProgram(Temp(), cli_, args);
    }
    const std::string& Cli() const { return cli_; }

  private:
    std::string cli_;
};

// `kv2208-cli simulate` running in the background until Stop.
class SimulateProcess {
  public:
    SimulateProcess(const CliFolder& folder, int port, std::vector<std::string> extra = {})
        : link_(folder.File(PortName(port))), out_(folder.Temp().File("simulate.out")) {
        std::vector<std::string> args = {folder.Cli(), "simulate", "--port", std::to_string(port)};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SimulateProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    // The device is there once its link is.
    bool Listening() const {
        for (auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;) {
            std::error_code ec;
            if (std::filesystem::is_symlink(std::filesystem::symlink_status(link_, ec))) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    // SIGTERM, then the exit status.
    int Stop() {
        int status = -1;
        kill(pid_, SIGTERM);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output() const {
        const auto bytes = test::ReadBytes(out_);
        return {bytes.begin(), bytes.end()};
    }
    const std::string& Link() const { return link_; }

  private:
    std::string link_;
    std::string out_;
    pid_t pid_ = -1;
};

} // namespace kv::test
