// kv2208-cli ports [--json]: the nine ports and any bound port beyond them,
// with the device each opens and whether it is there, then the serial
// devices found on the machine.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/command_registry.h"
#include "cli/store_json.h"
#include "link/serial_devices.h"
#include "model/app_paths.h"

namespace kv::cli {
namespace {

constexpr int MaxPortNumber = 255; // as --port takes them

int ListPorts(bool asJson) {
    const std::string folder = ExecutableFolder();
    const std::vector<std::string> devices = SerialDevicesPresent();
    nlohmann::json ports = nlohmann::json::array();
    for (int port = 1; port <= MaxPortNumber; ++port) {
        // COM1..COM9 always; a port beyond them when it is bound.
        std::error_code ec;
        if (port > ListedPorts &&
            !std::filesystem::is_symlink(std::filesystem::symlink_status(PortLinkPath(folder, port), ec)))
            continue;
        const PortBinding b = DescribePort(folder, port);
        ports.push_back(
            {{"port", PortName(port)}, {"device", b.DevicePath}, {"linked", b.Linked}, {"exists", b.Exists}});
        if (!asJson) {
            std::cout << PortName(port) << "  " << b.DevicePath << (b.Linked ? " (linked)" : "")
                      << (b.Exists ? "" : "  missing") << '\n';
            if (const std::string broken = BrokenLinkText(PortLinkPath(folder, port)); !broken.empty())
                std::cout << "  " << broken << '\n';
        }
    }
    if (asJson) {
        std::cout << JsonText({{"ports", ports}, {"devices", devices}}) << '\n';
        return 0;
    }
    std::cout << "Serial devices:" << (devices.empty() ? " none" : "") << '\n';
    for (const std::string& device : devices) std::cout << "  " << device << '\n';
    return 0;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto asJson = std::make_shared<bool>(false);
    CLI::App* cmd =
        app.add_subcommand("ports", "List the ports COM1..COM9, the device each opens, and the serial "
                                    "devices present");
    cmd->add_flag("--json", *asJson, "the same as JSON");
    cmd->callback([asJson, &status] { status = ListPorts(*asJson); });
});

} // namespace
} // namespace kv::cli
