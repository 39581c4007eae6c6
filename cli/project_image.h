#pragma once
// The steps that `image`, `ts` and `send` share on the way from a project to
// its configuration image, and that `decode` and `get` share on the way back.

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "model/config_store.h"

namespace kv::cli {

// --rate, --mode and --pat-version, with the same meaning for every command
// that builds an image.
struct ImageOptions {
    std::optional<int>
        patVersion; // --pat-version; image and ts default to 1, send goes on from the Config folder
    int PatVersionOr(int fallback) const { return patVersion.value_or(fallback); }
    std::optional<std::string> rate;
    std::string mode = "byte";
};
void AddImageOptions(CLI::App& cmd, ImageOptions& options);

// Loads the project and makes it ready to build: the bit-rate box's exit
// steps for --rate, else a warning when the stored pacing table is not that
// of the file's BitRate; then the image limits. 0 or the exit status, the
// refusal reported.
int PrepareProject(const std::string& project, const ImageOptions& options, ConfigStore& store);

// The project file a freshly started program saves after "Get" of the image
// in `imagePath`. Refused (ExitDataErr, nothing written) when the bytes are
// no configuration image or a part of it is bad; `partial` writes what could
// be read all the same. 0 or the exit status, the refusal reported.
int DecodeImageFile(const std::string& imagePath, const std::string& projectPath, bool partial);

} // namespace kv::cli
