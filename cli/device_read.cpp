#include "cli/device_read.h"

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "link/stop_request.h"
#include "model/app_paths.h"
#include "ops/get_from_device.h"
#include "ops/operator_messages.h"
#include "ops/transfer_explanations.h"

namespace kv::cli {

int ReadDeviceImage(const PortArguments& port, std::string& readBackPath) {
    constexpr int CaptureFailed = 3;
    const std::string folder = ExecutableFolder();
    // The port is not opened when nothing could be captured anyway.
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        Complain("", problem);
        return ExitCantCreate;
    }
    CatchStopSignals();
    CliChannel cli(folder);
    if (!cli.Open(port)) return ExitIoErr;
    const DeviceFiles files = DeviceFilesOf(folder);
    ShowProgress("Connecting");
    TransferNotes notes;
    const TransferTiming timing{.Progress = ShowTransferProgress, .Notes = &notes};
    const CaptureResult capture = CaptureFromDevice(&cli.Channel(), files, timing);
    const bool linkLost = !cli.Channel().Connected();
    cli.Channel().Close(); // the port is free from here on
    EndProgress();
    if (StopRequested()) {
        Complain("", InterruptionText(TransferKind::ReadBack, notes));
        return StoppedExitStatus(StopReason());
    }
    if (!capture.Captured) {
        Complain("", msg::MuxMemoryEmpty);
        Explain(capture.Problem.empty() ? ExplainCaptureFailure(notes, linkLost, timing.SilenceMs)
                                        : capture.Problem);
        return CaptureFailed;
    }
    readBackPath = files.ReadBackFile;
    return 0;
}

} // namespace kv::cli
