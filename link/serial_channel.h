#pragma once
// The serial channel to the multiplexer: one port, fixed line settings, one
// receive thread that cuts the byte stream into 188-byte records and queues
// them in a ring the GUI thread drains.

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

inline constexpr int RecordSize = 188;

class SerialChannel {
public:
    // Receives "COMn não disponivel" / "Erro de configuracao de COMn"; the
    // window turns it into its error box, the command line prints it.
    using ErrorReporter = std::function<void(const std::string& message)>;

    // appFolder: where Config/COMn is looked for (model/app_paths.h).
    SerialChannel(std::string appFolder, ErrorReporter reportError);
    ~SerialChannel(); // closes
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    bool Open(int port);  // true when open and configured; on failure the reporter was called
    void Close();         // harmless when not open; joins the receive thread
    bool Connected() const;

    void SendRecord(const uint8_t* record);   // 188 bytes
    bool TakeRecord(uint8_t* record);          // oldest queued record, false when none

    int ReceiveThreadCount() const; // receive threads running now (0 or 1)
    // (the implementation adds what it needs below; keep this surface stable)
};

} // namespace kv
