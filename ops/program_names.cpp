#include "ops/program_names.h"

#include "model/pid_text.h"
#include "model/store_ops.h"
#include "ops/service_entry.h"

namespace kv {

std::optional<int> ProgramServiceSlot(const ServiceBlock& sb, std::string_view name) {
    const ServiceSlot slot = FindServiceByName(sb, name, sb.SvcCount, std::nullopt);
    if (!slot.Found) return std::nullopt;
    return slot.Idx;
}

bool RenameProgramService(ServiceBlock& sb, std::string_view oldName, std::string_view newName) {
    const std::optional<int> slot = ProgramServiceSlot(sb, oldName);
    if (!slot) return false;
    WriteName(sb.SvcInfo[*slot].Name, TrimBlanks(newName), "");
    return true;
}

bool DeleteProgramService(ServiceBlock& sb, std::string_view name) {
    const std::optional<int> slot = ProgramServiceSlot(sb, name);
    if (!slot) return false;
    DeleteService(sb, *slot, sb.SvcCount);
    return true;
}

} // namespace kv
