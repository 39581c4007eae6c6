// Fault injection over the pseudo-terminal: the simulated device's fault
// modes and interrupts in a mixed loop of transfers over one channel. Each
// transfer ends with its code within its bound, the channel never runs two
// receive threads, and a good transfer after every fault succeeds.
// KV_SOAK_ROUNDS=N runs every fault N times (a soak run: 36 rounds are 504
// transfers).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/stop_request.h"
#include "link_test_support.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct FaultCase {
    SimulatorFault fault;
    const char* name;
    int code;                            // what TransferAndVerify reports
    const char* interruptStep = nullptr; // a stop is requested when this step reports its third record
};

constexpr int Interrupted = ResultCode(TransferResult::Interrupted);
constexpr FaultCase Faults[] = {
    {SimulatorFault::None, "none", 0},
    {SimulatorFault::Silent, "silent", 3},
    {SimulatorFault::Corrupt, "corrupt", 10},
    {SimulatorFault::Garbage, "garbage", 0},
    {SimulatorFault::Midcycle, "midcycle", 0},
    {SimulatorFault::Hangup, "hangup", 11},
    {SimulatorFault::None, "interrupted while loading", Interrupted, "Sending"},
    {SimulatorFault::None, "interrupted while capturing", Interrupted, "Capturing"},
};

int RoundsPerFault() { // 10 by default: 80 faulty transfers, each followed by a good one
    const char* soak = std::getenv("KV_SOAK_ROUNDS");
    return soak ? std::max(1, std::atoi(soak)) : 10;
}
constexpr int LoopPort = 60;
// A soak run shares the machine with whatever else runs: its silence wait
// leaves a starved simulator time to answer.
const TransferTiming LoopTiming{.SilenceMs = std::getenv("KV_SOAK_ROUNDS") ? 2000 : 300, .LoadWaitMs = 20};

// A silent device costs the silence wait once per capture; everything else
// is a few record times plus the short pauses of the transfer. Generous for
// a loaded machine under the sanitizers.
Clock::duration BoundOf(SimulatorFault fault) {
    return fault == SimulatorFault::Silent ? std::chrono::milliseconds(2 * LoopTiming.SilenceMs) + 5s : 5s;
}

// Samples the channel's receive-thread count on its own thread until destroyed.
class ThreadCountWatch {
  public:
    explicit ThreadCountWatch(const SerialChannel& channel)
        : sampler_([this, &channel] {
              while (!stop_) {
                  const int now = channel.ReceiveThreadCount();
                  if (now > most_) most_ = now;
                  ++samples_;
                  std::this_thread::sleep_for(1ms);
              }
          }) {}
    ~ThreadCountWatch() {
        stop_ = true;
        sampler_.join();
    }
    int Most() const { return most_; }
    long Samples() const { return samples_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<int> most_{0};
    std::atomic<long> samples_{0};
    std::thread sampler_;
};

// The device behind the port: replacing it stops the old one first, so the
// channel sees its line go, as when a cable is pulled and another device
// plugged in.
class SwappableDevice {
  public:
    explicit SwappableDevice(const test::ScratchFolder& folder) : folder_(folder) {}

    void Replace(SimulatorFault fault) {
        device_.reset();
        device_ = std::make_unique<DeviceSimulator>(SimulatorOptions{.Fault = fault});
        std::string error;
        ASSERT_TRUE(device_->Start(&error)) << error;
        ASSERT_TRUE(device_->LinkAsPort(folder_.Path(), LoopPort, &error)) << error;
    }
    const DeviceSimulator& Device() const { return *device_; }

  private:
    const test::ScratchFolder& folder_;
    std::unique_ptr<DeviceSimulator> device_;
};

struct Outcome {
    int code;
    Clock::duration took;
};

TEST(FaultLoop, EveryFaultEndsWithItsCodeAndTheNextGoodTransferSucceeds) {
    test::ScratchFolder folder;
    std::vector<std::string> messages;
    SerialChannel channel(
        folder.Path(), [&](const ChannelError& e) { messages.push_back(msg::ChannelErrorText(e)); },
        test::QuickChannel);
    SwappableDevice device(folder);
    const std::string imageFile = folder.File("CONF_KV2200-8.A$B");
    const std::string readBackFile = folder.File("CONF_KV2200-8.C$D");
    const std::vector<uint8_t> image = test::SyntheticImage(11);
    test::WriteBytes(imageFile, image);

    // Every fault RoundsPerFault times, in a fixed shuffled order.
    std::vector<const FaultCase*> order;
    for (const FaultCase& f : Faults)
        for (int r = 0; r < RoundsPerFault(); ++r) order.push_back(&f);
    std::shuffle(order.begin(), order.end(), std::mt19937(2208));

    auto transfer = [&](const char* interruptStep = nullptr) {
        TransferTiming timing = LoopTiming;
        if (interruptStep)
            timing.Progress = [interruptStep](const char* step, int records) {
                if (std::string(step) == interruptStep && records == 3) RequestStop(SIGINT);
            };
        const Clock::time_point start = Clock::now();
        const int code = ResultCode(TransferAndVerify(channel, imageFile, readBackFile, timing));
        ClearStopRequest();
        return Outcome{code, Clock::now() - start};
    };

    std::map<int, Clock::duration> longest; // slowest transfer by result code
    std::map<int, int> tally;               // transfers by result code
    std::map<std::string, int> faultTally;  // faulty transfers by fault, "good" for the ones after
    const ThreadCountWatch watch(channel);
    device.Replace(SimulatorFault::None);
    ASSERT_TRUE(channel.Open(LoopPort)) << (messages.empty() ? "" : messages.front());

    int hangups = 0;
    for (std::size_t round = 0; round < order.size(); ++round) {
        const FaultCase& f = *order[round];
        const std::string where = "round " + std::to_string(round) + " (" + f.name + ")";

        // The channel finds the new device by itself: its old line is gone,
        // so the next send opens the port again.
        device.Replace(f.fault);
        const std::vector<uint8_t> readBackBefore = test::ReadBytes(readBackFile);
        const Outcome faulty = transfer(f.interruptStep);
        EXPECT_EQ(faulty.code, f.code) << where;
        EXPECT_LE(faulty.took, BoundOf(f.fault)) << where;
        if (f.fault != SimulatorFault::Silent && f.fault != SimulatorFault::Hangup && !f.interruptStep) {
            EXPECT_EQ(device.Device().StoredImage(), image) << where << ": the device keeps what was sent";
        }
        if (faulty.code == 3 || faulty.code == 11 || faulty.code == Interrupted) { // nothing whole came back
            EXPECT_EQ(test::ReadBytes(readBackFile), readBackBefore)
                << where << ": the kept read-back is whole";
        }
        ++tally[faulty.code];
        longest[faulty.code] = std::max(longest[faulty.code], faulty.took);
        ++faultTally[f.name];

        // After a hang-up the operator connects again.
        device.Replace(SimulatorFault::None);
        if (f.fault == SimulatorFault::Hangup) {
            ++hangups;
            EXPECT_FALSE(channel.Connected()) << where;
            ASSERT_TRUE(channel.Open(LoopPort)) << where;
        }
        const Outcome good = transfer();
        EXPECT_EQ(good.code, 0) << where << ": the good transfer after it";
        EXPECT_LE(good.took, BoundOf(SimulatorFault::None)) << where << ": the good transfer after it";
        EXPECT_EQ(test::ReadBytes(readBackFile), image) << where << ": the good transfer after it";
        ++tally[good.code];
        longest[good.code] = std::max(longest[good.code], good.took);
        ++faultTally["good"];
        EXPECT_LE(channel.ReceiveThreadCount(), 1) << where;
    }
    channel.Close();

    EXPECT_LE(watch.Most(), 1) << "the channel ran two receive threads at once";
    EXPECT_GT(watch.Samples(), 100) << "the thread count was sampled throughout";
    EXPECT_EQ(channel.ReceiveThreadCount(), 0);
    // A hang-up ends its transfer with 11 alone: the lost port is not opened
    // again within it, so nothing else is reported.
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_EQ(hangups, RoundsPerFault());

    std::printf("fault loop: %zu transfers; by code:", 2 * order.size());
    for (const auto& [code, count] : tally)
        std::printf(" %d: %d (slowest %lld ms)", code, count,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(longest[code]).count()));
    std::printf("; by device:");
    for (const auto& [name, count] : faultTally) std::printf(" %s %d", name.c_str(), count);
    std::printf("; most receive threads at once: %d\n", watch.Most());
}

} // namespace
} // namespace kv
