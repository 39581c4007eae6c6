#pragma once
// Loading the project file a command works on, with the operator's message,
// the file and the reason on stderr when it is refused.

#include <string>

#include "model/config_store.h"
#include "ops/multiplex_description.h"

namespace kv::cli {

// 0, ExitNoInput when the file cannot be opened, ExitDataErr when it is no
// project file (a configuration image is pointed to `decode`). A path ending
// in ".json" is a description, read by LoadDescriptionFile.
int LoadProjectFile(const std::string& path, ConfigStore& store);

// A description composed into the store as `compose --force` composes it:
// every refusal on stderr with its JSON path, the editors' rules as warnings;
// the multiplex check's errors are left to the command's own check. 0,
// ExitNoInput or ExitDataErr.
int LoadDescriptionFile(const std::string& path, ConfigStore& store);

// Every refusal of a composition on stderr under `path`, those let pass as
// warnings; `checkErrors` false leaves out the multiplex check's.
void ReportRefusals(const std::string& path, const ComposeResult& result, bool checkErrors);

} // namespace kv::cli
