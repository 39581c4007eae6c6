// kv2208-cli ts PROJECT.MUX -o OUT.ts [--pat-version N] [--rate BPS --mode byte|pack]: the image's
// signalling packets as a transport stream file that analysers open.
#include <map>
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "tables/signalling_packets.h"

namespace kv::cli {
namespace {

// On air the continuity counter of each PID runs 0, 1, 2 ...; analysers take
// a repeated counter for a duplicate packet and drop it. Every other byte
// stays as the image holds it.
std::vector<uint8_t> AsTransportStream(const std::vector<Packet>& packets) {
    std::map<int, unsigned> counters;
    std::vector<uint8_t> stream;
    for (Packet packet : packets) {
        const int pid = ((packet[1] & 0x1F) << 8) | packet[2];
        unsigned& counter = counters[pid];
        packet[3] = static_cast<uint8_t>((packet[3] & 0xF0u) | (counter++ & 0x0Fu));
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

int WriteTransportStream(const std::string& project, const std::string& output, const ImageOptions& options) {
    auto store = std::make_unique<ConfigStore>();
    if (const int status = PrepareProject(project, options, *store)) return status;
    return WriteOutputFile(output, AsTransportStream(SignallingPackets(*store, options.PatVersionOr(1))));
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto project = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto options = std::make_shared<ImageOptions>();
    CLI::App* cmd =
        app.add_subcommand("ts", "Write the signalling packets of a project's image as a transport stream");
    cmd->add_option("PROJECT", *project, "project file (*.MUX) or description (*.json)")->required();
    cmd->add_option("-o,--output", *output, "transport stream file to write, - for standard output")
        ->required();
    AddImageOptions(*cmd, *options);
    cmd->callback(
        [project, output, options, &status] { status = WriteTransportStream(*project, *output, *options); });
});

} // namespace
} // namespace kv::cli
