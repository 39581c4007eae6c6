// kv2208-cli show FILE: prints a project file, or a configuration image
// record by record, as JSON.
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/show_image.h"
#include "cli/store_json.h"
#include "model/project_file.h"
#include "tables/image_file.h"

namespace kv::cli {
namespace {

int ShowProjectFile(const std::string& path) {
    // A configuration image or read-back file is shown record by record.
    if (const auto image = ReadImageFile(path); image && LooksLikeImage(*image)) {
        std::cout << JsonText(ImageToJson(*image)) << '\n';
        return 0;
    }
    auto store = std::make_unique<ConfigStore>();
    const ProjectFileStatus status = ReadProjectFile(path, *store);
    if (status != ProjectFileStatus::Ok) {
        std::cerr << ProjectFileMessage(status) << '\n';
        return ExitDataErr;
    }
    std::cout << JsonText(StoreToJson(*store)) << '\n';
    return 0;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto path = std::make_shared<std::string>();
    CLI::App* show = app.add_subcommand("show", "Print a project file (*.MUX) or a configuration image as JSON");
    show->add_option("FILE", *path, "project file or configuration image")->required();
    show->callback([path, &status] { status = ShowProjectFile(*path); });
});

} // namespace
} // namespace kv::cli
