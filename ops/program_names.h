#pragma once
// A program of the main window's list and its service. The service is found
// by the program's name, not by the program's list position: services are
// stored in the order the editor first stores them, which need not be the
// list's, and a rename or Delete must reach the program's own service.
// Operators who enter services in list order see no difference.

#include <optional>
#include <string_view>

#include "model/config_store.h"

namespace kv {

// The slot of the first stored service named `name`, compared as the service
// editor compares names (blanks around them do not count; it stores them
// trimmed); none when no stored service carries it.
std::optional<int> ProgramServiceSlot(const ServiceBlock& sb, std::string_view name);

// A program renamed from `oldName` to `newName`: its service takes the new
// name, trimmed and cut to 10 characters, with zero bytes after it up to the
// tenth byte. Its other fields keep their values. False when no service
// carries `oldName` (the store is then unchanged).
bool RenameProgramService(ServiceBlock& sb, std::string_view oldName, std::string_view newName);

// A program deleted: its service is removed at its own slot (the store's
// delete-service operation). False when no service carries `name` (the
// store is then unchanged).
bool DeleteProgramService(ServiceBlock& sb, std::string_view name);

} // namespace kv
