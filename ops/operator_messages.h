#pragma once
// The operator's messages, each spelled once. The window and the command line
// turn the core's typed results into these texts; nothing below them does.

#include <string>

#include "link/channel_error.h"

namespace kv::msg {

inline constexpr const char* ChooseItem = "Choose item, please.";
inline constexpr const char* AskDeleteAll = "Delete all items?";
inline constexpr const char* ListEmpty = "List is empty!";
inline constexpr const char* PidLimitPerInput = "Limited 44 Pid per IN.";
inline constexpr const char* NoSerialLink = "Sem comunicação serial.";
inline constexpr const char* ProcessSuccessful = "Process successful!";
inline constexpr const char* MuxMemoryEmpty = "Mux memory is empty!";

inline constexpr const char* FileSaveSuccessful = "File save successful!";

// "Error 3": the result of a transfer that did not succeed.
inline std::string TransferError(int code) {
    return "Error " + std::to_string(code);
}

// A port that cannot be opened, and one that would not keep the line
// settings; `port` is "COMn" or the device path given directly.
inline std::string PortNotAvailable(const std::string& port) {
    return port + " não disponivel";
}
inline std::string PortConfigError(const std::string& port) {
    return "Erro de configuracao de " + port;
}
inline std::string ChannelErrorText(const ChannelError& error) {
    return error.kind == ChannelError::Kind::NotAvailable ? PortNotAvailable(error.Port)
                                                          : PortConfigError(error.Port);
}

} // namespace kv::msg
