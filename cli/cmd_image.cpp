// kv2208-cli image PROJECT.MUX -o IMAGE [--pat-version N] [--rate BPS --mode byte|pack]:
// the configuration image exactly as "Send Mux" builds it from that store.
#include <cerrno>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "cli/project_input.h"
#include "model/app_paths.h"
#include "tables/bit_rate_entry.h"
#include "tables/image_writer.h"

namespace kv::cli {
namespace {

struct ImageArguments {
    std::string project;
    std::string output;
    int patVersion = 1; // the first send of a run
    std::optional<std::string> rate;
    std::string mode = "byte";
};

int WriteImage(const ImageArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (!LoadProjectFile(args.project, *store)) return ExitDataErr;

    if (args.rate) {
        // The bit-rate box's exit steps, then "Send Mux" keeps the shown rate.
        const BitRateEntry entry = ApplyBitRateEntry(*store, *args.rate, args.mode == "byte");
        if (entry.outcome == BitRateEntry::Outcome::Ignored) {
            std::cerr << "--rate needs a bit rate above 0 (Bps)." << '\n';
            return ExitUsage;
        }
        if (entry.outcome == BitRateEntry::Outcome::OutOfRange) {
            std::cerr << entry.Warning << '\n';
            return ExitDataErr;
        }
        store->Svc.BitRate = entry.EffectiveRate;
        store->Ghost.GhostBitRate = entry.EffectiveRate;
    }
    if (!StoreFitsImage(*store)) return ExitDataErr;
    if (!WriteImageFile(args.output, BuildConfigImage(*store, args.patVersion))) {
        std::cerr << CannotWriteMessage(args.output, errno) << '\n';
        return ExitDataErr;
    }
    return 0;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ImageArguments>();
    CLI::App* cmd =
        app.add_subcommand("image", "Write the configuration image that \"Send Mux\" sends for a project");
    cmd->add_option("PROJECT", args->project, "project file (*.MUX)")->required();
    cmd->add_option("-o,--output", args->output, "image file to write")->required();
    cmd->add_option("--pat-version", args->patVersion, "PAT version_number, 0..31")->check(CLI::Range(0, 31));
    CLI::Option* rate =
        cmd->add_option("--rate", args->rate, "output bit rate typed into the bit-rate box (bit/s)");
    cmd->add_option("--mode", args->mode, "output mode: byte or pack")
        ->check(CLI::IsMember({"byte", "pack"}))
        ->needs(rate);
    cmd->callback([args, &status] { status = WriteImage(*args); });
});

} // namespace
} // namespace kv::cli
