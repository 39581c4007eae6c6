#include "cli/cli_port.h"

#include "cli/cli_output.h"
#include "ops/operator_messages.h"

namespace kv::cli {

void AddPortOptions(CLI::App& cmd, PortArguments& args) {
    CLI::Option* port =
        cmd.add_option("--port", args.port, "serial port number N (COMN), 1..255")->check(CLI::Range(1, 255));
    CLI::Option* device = cmd.add_option("--device", args.device, "serial device path, in place of --port");
    port->excludes(device);
}

void RequirePort(const PortArguments& args) {
    if (args.port == 0 && args.device.empty()) throw CLI::RequiredError("--port or --device");
}

CliChannel::CliChannel(const std::string& appFolder)
    : channel_(std::make_unique<SerialChannel>(
          appFolder,
          [this](const ChannelError& error) {
              Complain("", msg::ChannelErrorText(error), PortFailureDetail(channel_->LastFailure()));
          },
          ChannelOptions{.StartupDelayMs = 0})) {}

bool CliChannel::Open(const PortArguments& args) {
    return args.device.empty() ? channel_->Open(args.port) : channel_->OpenDevice(args.device);
}

} // namespace kv::cli
