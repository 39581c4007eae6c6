#pragma once
// Shared pieces of the link tests: a scratch program folder with its Config
// folder, a simulated device linked as one of its ports, a channel that
// starts reading at once, and made-up images.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/command_records.h"
#include "link/device_simulator.h"
#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/model_test_support.h"
#include "ops/operator_messages.h"

namespace kv::test {

// A fresh folder standing in for the program folder, with its Config
// folder; removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() : path_(temp_.File("")) { std::filesystem::create_directory(path_ + "Config"); }
    const std::string& Path() const { return path_; } // ends in '/'
    std::string File(const std::string& name) const { return path_ + "Config/" + name; }
    const TempFolder& Temp() const { return temp_; }

  private:
    TempFolder temp_;
    std::string path_;
};

// An image of `records` records: a header stating the length (when asked
// for), then PID-map-like records whose bytes differ from record to record.
inline std::vector<uint8_t> SyntheticImage(int records, bool withHeader = true) {
    std::vector<uint8_t> image(static_cast<std::size_t>(records) * LineRecordSize);
    for (int r = 0; r < records; ++r) {
        uint8_t* rec = &image[static_cast<std::size_t>(r) * LineRecordSize];
        rec[0] = ImageRecordMark;
        rec[1] = 0x01;
        for (int i = 2; i < LineRecordSize; ++i) rec[i] = static_cast<uint8_t>(r * 31 + i * 7);
    }
    if (withHeader && records > 0) {
        const int length = records * LineRecordSize;
        image[1] = 0x02;
        image[7] = static_cast<uint8_t>(length & 0xFF);
        image[8] = static_cast<uint8_t>(length >> 8);
        image[9] = 0x07;
    }
    return image;
}

// Short waits keep the tests quick; the product keeps its own.
inline constexpr ChannelOptions QuickChannel{.StartupDelayMs = 20};
inline const TransferTiming QuickTiming{.SilenceMs = 400, .LoadWaitMs = 20};

// A simulated device linked as port `port` of a scratch program folder, and a
// channel of that folder that records what it reports.
struct LinkedDevice {
    explicit LinkedDevice(int port, SimulatorOptions options = {})
        : Port(port), Device(options),
          Channel(
              Folder.Path(), [this](const ChannelError& e) { Messages.push_back(msg::ChannelErrorText(e)); },
              QuickChannel) {}

    // Starts the device and links it; the channel is not opened.
    void StartDevice() {
        std::string error;
        ASSERT_TRUE(Device.Start(&error)) << error;
        ASSERT_TRUE(Device.LinkAsPort(Folder.Path(), Port, &error)) << error;
    }
    void StartAndOpen() {
        StartDevice();
        ASSERT_TRUE(Channel.Open(Port)) << (Messages.empty() ? "" : Messages.front());
    }

    ScratchFolder Folder;
    int Port;
    DeviceSimulator Device;
    std::vector<std::string> Messages;
    SerialChannel Channel;
};

} // namespace kv::test
