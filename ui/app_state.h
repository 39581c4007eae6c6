#pragma once
// The values of the window program: the one configuration store, the PAT
// version counter, the chosen port, the file paths and the serial channel.
// main() owns one and hands it to the main window, which hands the parts
// they need to the windows it opens. Only the GUI thread touches them.

#include <memory>
#include <string>

#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/config_store.h"
#include "model/saved_content.h"

namespace kv::ui {

struct AppState {
    ConfigStore Store{};   // all zero at program start
    SavedContent Saved;    // the services and ghost entries as last saved, opened, sent or read back
    int PatVersion = 0;    // 0..31; "Send Mux" advances it before building the image
    int16_t ComPort = 0;   // 0: no port chosen
    std::string AppFolder; // ends in '/'
    std::string ImageFile;
    std::string ReadBackFile;
    std::string PortFile;
    std::unique_ptr<SerialChannel> Channel; // created with the main window
    TransferTiming Timing;                  // of "Send Mux" and "Get"; tests shorten the silence

    // Points the file paths at `appFolder` (the executable's folder in the
    // program; a scratch folder in tests).
    void SetAppFolder(const std::string& appFolder);
};

} // namespace kv::ui
