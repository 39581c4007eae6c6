#pragma once
// Whether the services or the ghost entries changed since the last Save,
// Open, successful "Send Mux" or "Get": Disconnect and Exit ask before such
// work is lost, and act at once when nothing changed.

#include "model/config_store.h"

namespace kv {

inline constexpr const char* UnsavedQuestion = "Programs not saved will be lost. Continue?";

class SavedContent {
  public:
    SavedContent() = default; // as for a store without services and ghost entries

    // The store as it was just saved, opened, sent or read back.
    void Mark(const ConfigStore& store);
    // The services as they are now count as saved; the ghost entries keep
    // their state (Disconnect drops the services on the operator's word).
    void MarkServices(const ServiceBlock& sb);
    bool Changed(const ConfigStore& store) const;

  private:
    ServiceBlock services_{}; // as last marked
    GhostBlock ghosts_{};
};

} // namespace kv
