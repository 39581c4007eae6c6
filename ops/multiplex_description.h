#pragma once
// Descriptions: a multiplex as JSON text written for people, with what an
// operator enters and nothing derived. `DescribeMultiplex` writes one of a
// store, `ComposeMultiplex` makes a store of one under the rules the editors
// and the bit-rate box apply, naming the JSON path of every refusal. The
// schema of the format is data/kv2208-description.schema.json.

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/config_store.h"
#include "model/project_file.h"

namespace kv {

nlohmann::ordered_json DescribeMultiplex(const ConfigStore& store);

struct DescriptionRefusal {
    std::string Path;         // "services[2].audio[0].out"; empty for the multiplex check
    std::string Message;      // "9000 is not a PID (32..8190)"
    bool Forcible = false;    // an editor's rule or a check error that --force lets pass
    std::string Text() const; // "services[2].audio[0].out: 9000 is not a PID (32..8190)"
};

// What a composition lets pass: nothing (compose), the multiplex check's
// errors (the window's Open: "Send Mux" asks about them), or every refusal
// a project file could hold all the same (compose --force, and the commands
// that read a description where they read a project file).
enum class ComposeForce { None, CheckErrors, All };

struct ComposeResult {
    std::vector<DescriptionRefusal> Refusals; // in the order of the description
    bool Taken = false;                       // the store holds the description
};

// Fills `store` from the description when nothing is refused beyond what
// `force` lets pass (those refusals are kept, as warnings); otherwise `store`
// is left as it was. The
// bit rate goes through the bit-rate box's steps, so the pacing table is the
// rate's; the multiplex check's errors are refusals.
ComposeResult ComposeMultiplex(const nlohmann::ordered_json& description, ConfigStore& store,
                               ComposeForce force);

// The text of a description file, two-space indented, ending in a newline.
std::string DescriptionText(const ConfigStore& store);

// Reads and composes a description file. Text that is no JSON is one
// refusal at the path "" with the parser's words.
ComposeResult ReadDescriptionFile(const std::string& path, ConfigStore& store, ComposeForce force);

// Writes the store's description to `path` through a temporary file beside
// it, renamed when complete: Ok, CannotCreate or WriteFailed.
ProjectFileStatus WriteDescriptionFile(const std::string& path, const ConfigStore& store);

// Whether `path` names a description rather than a project file: its name
// ends in ".json", any case.
bool IsDescriptionPath(std::string_view path);

} // namespace kv
