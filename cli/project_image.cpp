#include "cli/project_image.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_input.h"
#include "model/project_file.h"
#include "ops/bit_rate_entry.h"
#include "ops/readback_display.h"
#include "ops/send_mux.h"
#include "tables/image_check.h"
#include "tables/image_file.h"
#include "tables/rate.h"

namespace kv::cli {
namespace {

// A file whose table is not that of its BitRate is sent at the table's rate,
// as it always was; the window's Open would recompute it from BitRate.
void WarnOfForeignRateTable(const std::string& project, const ConfigStore& store) {
    const int64_t bitRate = ActiveBitRate(store);
    if (bitRate == 0 || RateTableIsOfRate(store, bitRate)) return;
    Complain(project, "warning: the stored pacing table gives " +
                          std::to_string(EffectiveBitRate(ActiveRateGaps(store), ActiveRateStuff(store))) +
                          " bit/s, not the file's BitRate of " + std::to_string(bitRate) +
                          " bit/s; it is used as stored (--rate recomputes it)");
}

} // namespace

void AddImageOptions(CLI::App& cmd, ImageOptions& options) {
    cmd.add_option("--pat-version", options.patVersion,
                   "version_number of the PAT, NIT, SDT and PMTs, 0..31 (default: image and ts 1; send the "
                   "one after the image last sent or read back through the Config folder)")
        ->check(CLI::Range(0, 31));
    CLI::Option* rate =
        cmd.add_option("--rate", options.rate,
                       "output bit rate typed into the bit-rate box (bit/s): 503571 (byte) or "
                       "1232223 (pack) to 216000000; the table is recomputed from it");
    cmd.add_option("--mode", options.mode, "output mode: byte or pack")
        ->check(CLI::IsMember({"byte", "pack"}))
        ->needs(rate);
}

int PrepareProject(const std::string& project, const ImageOptions& options, ConfigStore& store) {
    if (const int status = LoadProjectFile(project, store)) return status;
    if (!options.rate) WarnOfForeignRateTable(project, store);
    // "Send Mux"'s steps with --rate for the bit-rate box; the TSID and the
    // network name are the file's.
    const SendMuxCheck check =
        PrepareSendMux(store, {.RateText = options.rate, .ByteMode = options.mode == "byte"});
    switch (check.outcome) {
    case SendMuxCheck::Outcome::Ready:
        return 0;
    case SendMuxCheck::Outcome::RateIgnored:
        Complain("--rate", "needs a bit rate above 0 (Bps).");
        return ExitUsage;
    case SendMuxCheck::Outcome::RateOutOfRange:
        Complain(project, check.Warning, "--rate " + *options.rate);
        return ExitDataErr;
    case SendMuxCheck::Outcome::OverLimit:
        break;
    }
    Complain(project, check.Warning);
    return ExitDataErr;
}

int DecodeImageFile(const std::string& imagePath, const std::string& projectPath, bool partial) {
    const auto image = ReadImageFile(imagePath);
    if (!image) {
        Complain(imagePath, "Cannot open input file.", OpenFailureReason(imagePath));
        return ExitNoInput;
    }
    ReadBackResult result;
    const auto store = std::make_unique<ConfigStore>(DecodeImageToProject(*image, &result));
    const std::vector<std::string> problems = ImageDecodeProblems(*image, result);
    for (const std::string& problem : problems) Complain(imagePath, problem);
    if (!problems.empty() && !partial) return ExitDataErr;

    const ProjectFileStatus status = WriteProjectFile(projectPath, *store);
    if (status != ProjectFileStatus::Ok) {
        Complain(projectPath, ProjectFileMessage(status), std::strerror(errno));
        return status == ProjectFileStatus::CannotCreate ? ExitCantCreate : ExitIoErr;
    }
    return problems.empty() ? 0 : ExitDataErr;
}

} // namespace kv::cli
