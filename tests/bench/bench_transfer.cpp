// Wall time of "Send Mux" (TransferAndVerify) for a 41-service project and of
// "Get" (ReceiveImage), against the simulated multiplexer paced at the line
// rate of 1 500 000 bit/s, next to the bare line time of the records the
// exchange puts on the line (10 bits per byte). Prints figures; not a test.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "link/device_simulator.h"
#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"
#include "tables/image_writer.h"
#include "tables/tables_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double LineBitsPerSecond = 1500000.0;
constexpr int Port = 1;
constexpr int Rounds = 3;

double LineSeconds(std::size_t records) {
    return static_cast<double>(records) * kv::LineRecordSize * 10 / LineBitsPerSecond;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void Report(const char* what, double wall, std::size_t records) {
    const double line = LineSeconds(records);
    std::printf("%-28s wall %8.1f ms   line %7.1f ms (%zu records)   ratio %6.2f\n", what, wall * 1e3,
                line * 1e3, records, wall / line);
}

} // namespace

int main() {
    kv::test::TempFolder temp;
    const std::string folder = temp.File("");
    std::filesystem::create_directory(folder + "Config");
    const auto store = kv::test::FortyOneServices();
    if (const auto refusal = kv::ImageLimitViolation(*store)) {
        std::printf("store refused: %s\n", refusal->c_str());
        return 1;
    }
    const std::vector<uint8_t> image = kv::BuildConfigImage(*store, 1);
    const std::size_t imageRecords = image.size() / kv::LineRecordSize;
    const std::string imageFile = kv::ImageFilePath(folder), readBackFile = kv::ReadBackFilePath(folder);
    kv::test::WriteBytes(imageFile, image);

    kv::DeviceSimulator device; // paced at the line rate
    std::string error;
    if (!device.Start(&error) || !device.LinkAsPort(folder, Port, &error)) {
        std::printf("simulator: %s\n", error.c_str());
        return 1;
    }
    kv::SerialChannel channel(
        folder, [](const kv::ChannelError& e) { std::printf("%s\n", kv::msg::ChannelErrorText(e).c_str()); });
    if (!channel.Open(Port)) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1100)); // past the receive thread's startup wait

    // To the device: 5 idle + idle + load + the image + idle, then idle + 5 read + idle;
    // from it: one cycle and the next header.
    const std::size_t sendRecords = (5 + 1 + 1 + imageRecords + 1) + (1 + 5 + 1) + (imageRecords + 1);
    const std::size_t getRecords = (1 + 5 + 1) + (imageRecords + 1);
    std::printf("image: %zu services, %zu records (%zu bytes)\n", static_cast<std::size_t>(41), imageRecords,
                image.size());
    for (int round = 0; round < Rounds; ++round) {
        auto start = Clock::now();
        const int sent = kv::ResultCode(kv::TransferAndVerify(channel, imageFile, readBackFile));
        const double sendWall = Seconds(Clock::now() - start);
        start = Clock::now();
        const int got = kv::ReceiveImage(channel, readBackFile);
        const double getWall = Seconds(Clock::now() - start);
        if (sent != 0 || got != 0) {
            std::printf("transfer failed: send %d, get %d\n", sent, got);
            return 1;
        }
        Report("send (TransferAndVerify)", sendWall, sendRecords);
        // A pseudo-terminal takes the tool's writes at once: only the playback runs at the line rate.
        std::printf("%-28s less the 1000 ms wait after the load command: ratio %.2f\n", "",
                    (sendWall - 1.0) / LineSeconds(sendRecords));
        Report("get (ReceiveImage)", getWall, getRecords);
    }
    return 0;
}
