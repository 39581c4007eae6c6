#pragma once
// Why the serial channel could not use a port; the window and the command
// line word it for the operator.

#include <string>

namespace kv {

struct ChannelError {
    enum class Kind {
        NotAvailable,      // the port cannot be opened, locked or read
        ConfigurationError // the port would not keep the line settings
    };
    Kind kind = Kind::NotAvailable;
    std::string Port; // "COMn", or the device path given directly
};

} // namespace kv
