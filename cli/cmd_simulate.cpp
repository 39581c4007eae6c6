// kv2208-cli simulate --port N [--image FILE] [--fault MODE]: plays the
// multiplexer on a pseudo-terminal linked as Config/COMN next to the
// program, until SIGINT, SIGTERM or SIGHUP (exit 128 + the signal).
#include <csignal>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "link/device_simulator.h"
#include "link/stop_request.h"
#include "model/app_paths.h"

namespace kv::cli {
namespace {

struct SimulateArguments {
    int port = 0;
    std::string image;
    std::string fault = "none";
};

int Simulate(const SimulateArguments& args) {
    SimulatorOptions options;
    options.Fault = SimulatorFaultFromName(args.fault).value_or(SimulatorFault::None);
    DeviceSimulator device(options);
    if (!args.image.empty() && !device.PreloadImageFile(args.image)) {
        Complain(args.image, "Cannot open input file.", OpenFailureReason(args.image));
        return ExitNoInput;
    }
    // Taken by sigwait below; blocked before the simulator's thread starts
    // so that it inherits the mask and the signals reach this thread only.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::string error;
    if (!device.Start(&error) || !device.LinkAsPort(ExecutableFolder(), args.port, &error)) {
        Complain("", error);
        return ExitIoErr;
    }
    std::cout << "Multiplexer listening as " << PortName(args.port) << ": " << device.LinkPath() << " -> "
              << device.SlavePath() << std::endl;
    int signal = 0;
    sigwait(&stopSignals, &signal);
    const std::string link = device.LinkPath();
    device.Stop();
    std::cout << "Stopped, " << link << " removed" << std::endl;
    return StoppedExitStatus(signal);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<SimulateArguments>();
    CLI::App* cmd =
        app.add_subcommand("simulate", "Play the multiplexer on a pseudo-terminal linked as Config/COMN");
    cmd->add_option("--port", args->port, "port number N of Config/COMN")
        ->required()
        ->check(CLI::Range(1, 255));
    cmd->add_option("--image", args->image, "image file the device holds at start");
    cmd->add_option("--fault", args->fault, "misbehaviour: none, silent, corrupt, garbage, midcycle, hangup")
        ->check(CLI::IsMember({"none", "silent", "corrupt", "garbage", "midcycle", "hangup"}));
    cmd->callback([args, &status] { status = Simulate(*args); });
});

} // namespace
} // namespace kv::cli
