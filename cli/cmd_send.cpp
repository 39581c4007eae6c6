// kv2208-cli send PROJECT.MUX (--port N | --device PATH) [--pat-version N]
// [--rate BPS --mode byte|pack]: "Send Mux" without the window: builds the
// project's image as `image` does, sends it, has the device play it back and
// compares. Exits with the transfer's result code (0..11) once it started;
// 1 also when the Config folder cannot be written (no image file).
#include <iostream>
#include <memory>
#include <string>

#include "cli/check_gate.h"
#include "cli/cli_output.h"
#include "cli/cli_port.h"
#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "link/stop_request.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"
#include "ops/send_mux.h"
#include "ops/table_version.h"
#include "ops/transfer_explanations.h"

namespace kv::cli {
namespace {

struct SendArguments {
    std::string project;
    PortArguments port;
    ImageOptions image;
    bool quiet = false;
    bool force = false;
};

int Send(const SendArguments& args) {
    SetQuiet(args.quiet);
    auto store = std::make_unique<ConfigStore>();
    if (const int status = PrepareProject(args.project, args.image, *store)) return status;
    if (const int status = RefuseOnErrors(args.project, *store, args.force)) return status;

    const std::string folder = ExecutableFolder();
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        Complain("", problem);
        std::cerr << msg::TransferError(ResultCode(TransferResult::ImageNotWritten)) << '\n';
        return 1; // the image file cannot be written
    }
    CatchStopSignals();
    CliChannel cli(folder);
    if (!cli.Open(args.port)) return ExitIoErr;
    ShowProgress("Connecting");
    TransferNotes notes;
    const TransferTiming timing{.Progress = ShowTransferProgress, .Notes = &notes};
    // The tables' version goes on from the image last sent or read back here.
    const DeviceFiles files = DeviceFilesOf(folder);
    const int patVersion = args.image.PatVersionOr(NextPatVersion(PatVersionToGoOnFrom(files)));
    const SendMuxResult sent = SendMuxImage(*store, patVersion, files, &cli.Channel(), timing);
    cli.Channel().Close(); // the port is free from here on
    EndProgress();
    if (sent.Result == TransferResult::Interrupted) {
        Complain(args.project, InterruptionText(TransferKind::Send, notes));
        return StoppedExitStatus(StopReason());
    }
    const int result = ResultCode(sent.Result);
    if (sent.Result == TransferResult::Ok)
        std::cout << msg::ProcessSuccessful << '\n';
    else
        Complain(args.project, msg::TransferError(result));
    if (sent.Result != TransferResult::Ok)
        Explain(sent.Problem.empty() ? ExplainTransferResult(sent.Result, notes, timing.SilenceMs)
                                     : sent.Problem);
    return result;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<SendArguments>();
    CLI::App* cmd =
        app.add_subcommand("send", "Send a project's image to the multiplexer and verify it (\"Send Mux\")");
    cmd->add_option("PROJECT", args->project, "project file (*.MUX) or description (*.json)")->required();
    AddPortOptions(*cmd, args->port);
    AddImageOptions(*cmd, args->image);
    AddForceOption(*cmd, args->force);
    cmd->add_flag("-q,--quiet", args->quiet, "no progress on the terminal");
    cmd->callback([args, &status] {
        RequirePort(args->port);
        status = Send(*args);
    });
});

} // namespace
} // namespace kv::cli
