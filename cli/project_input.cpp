#include "cli/project_input.h"

#include <iostream>

#include "model/project_file.h"

namespace kv::cli {

bool LoadProjectFile(const std::string& path, ConfigStore& store) {
    const ProjectFileStatus status = ReadProjectFile(path, store);
    if (status == ProjectFileStatus::Ok) return true;
    std::cerr << ProjectFileMessage(status) << '\n';
    return false;
}

} // namespace kv::cli
