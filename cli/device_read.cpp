#include "cli/device_read.h"

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"

namespace kv::cli {

int ReadDeviceImage(const PortArguments& port, std::string& readBackPath) {
    constexpr int CaptureFailed = 3;
    const std::string folder = ExecutableFolder();
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        Complain("", problem);
        return ExitCantCreate;
    }
    CliChannel cli(folder);
    if (!cli.Open(port)) return ExitIoErr;
    readBackPath = ReadBackFilePath(folder);
    ShowProgress("Connecting");
    const int captured = ReceiveImage(cli.Channel(), readBackPath, {.Progress = ShowTransferProgress});
    cli.Channel().Close();
    EndProgress();
    if (captured != 0) {
        Complain("", msg::MuxMemoryEmpty);
        return CaptureFailed;
    }
    return 0;
}

} // namespace kv::cli
