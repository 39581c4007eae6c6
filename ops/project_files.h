#pragma once
// Project files (*.MUX) and descriptions (*.json): Open reads one into the
// store, Save writes the store with the network name, TSID and bit rate of
// the boxes. A path ending in ".json" is a description.

#include <string>

#include "model/config_store.h"
#include "model/project_file.h"
#include "model/saved_content.h"

namespace kv {

// A file that cannot be read, or is refused, leaves the store as it was; one
// that was read counts as saved. `problem` gets the reader's reason: for a
// refused description, every refusal with its JSON path, one a line.
ProjectFileStatus OpenProject(const std::string& path, ConfigStore& store, SavedContent& saved,
                              std::string* problem = nullptr);

// What Save takes from the boxes.
struct SaveEntry {
    std::string TsIdText;
    std::string RateText;
    std::string NetName; // Latin-1, trimmed into the store
};

// The boxes' network name, TSID (low 16 bits) and bit rate go into the store
// with the file. A file that cannot be created leaves the store as it was; a
// file that did not take every byte is no saved project.
ProjectFileStatus SaveProject(const std::string& path, ConfigStore& store, const SaveEntry& boxes,
                              SavedContent& saved);

} // namespace kv
