#include "cli/device_read.h"

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "model/app_paths.h"
#include "ops/get_from_device.h"
#include "ops/operator_messages.h"

namespace kv::cli {

int ReadDeviceImage(const PortArguments& port, std::string& readBackPath) {
    constexpr int CaptureFailed = 3;
    const std::string folder = ExecutableFolder();
    // The port is not opened when nothing could be captured anyway.
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        Complain("", problem);
        return ExitCantCreate;
    }
    CliChannel cli(folder);
    if (!cli.Open(port)) return ExitIoErr;
    const DeviceFiles files = DeviceFilesOf(folder);
    ShowProgress("Connecting");
    const CaptureResult capture =
        CaptureFromDevice(&cli.Channel(), files, {.Progress = ShowTransferProgress});
    cli.Channel().Close();
    EndProgress();
    if (!capture.Captured) {
        Complain("", msg::MuxMemoryEmpty);
        return CaptureFailed;
    }
    readBackPath = files.ReadBackFile;
    return 0;
}

} // namespace kv::cli
