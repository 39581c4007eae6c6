// kv2208-cli show FILE [-o OUT]: prints a project file, or a configuration image
// record by record, as JSON.
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_input.h"
#include "cli/show_image.h"
#include "cli/store_json.h"
#include "tables/image_file.h"

namespace kv::cli {
namespace {

int ShowProjectFile(const std::string& path, const std::string& output) {
    // A configuration image or read-back file is shown record by record.
    if (const auto image = ReadImageFile(path); image && LooksLikeImage(*image))
        return WriteOutputFile(output, JsonText(ImageToJson(*image)) + '\n');
    auto store = std::make_unique<ConfigStore>();
    if (const int status = LoadProjectFile(path, *store)) return status;
    return WriteOutputFile(output, JsonText(StoreToJson(*store)) + '\n');
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto path = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>("-");
    CLI::App* show =
        app.add_subcommand("show", "Print a project file (*.MUX) or a configuration image as JSON");
    show->add_option("FILE", *path, "project file or configuration image")->required();
    show->add_option("-o,--output", *output,
                     "file to write the JSON to; - (the default) for standard output");
    show->callback([path, output, &status] { status = ShowProjectFile(*path, *output); });
});

} // namespace
} // namespace kv::cli
