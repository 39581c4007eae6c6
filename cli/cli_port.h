#pragma once
// The port `send` and `get` talk over: --port N (COMN, through the Config
// folder's link as the window opens it) or --device PATH.

#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "link/serial_channel.h"

namespace kv::cli {

struct PortArguments {
    int port = 0;
    std::string device;
};

// --port 1..255 or --device PATH, exactly one of them.
void AddPortOptions(CLI::App& cmd, PortArguments& args);
// In the command's callback: a usage error when neither was given.
void RequirePort(const PortArguments& args);

// The command line's channel: its receive thread starts reading at once (the
// window's one-second start wait would be paid by every command), and a port
// that cannot be opened is reported with the device path and the reason.
class CliChannel {
  public:
    explicit CliChannel(const std::string& appFolder);
    SerialChannel& Channel() { return *channel_; }
    bool Open(const PortArguments& args); // false: reported

  private:
    std::unique_ptr<SerialChannel> channel_;
};

} // namespace kv::cli
