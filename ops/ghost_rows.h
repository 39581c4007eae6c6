#pragma once
// The rows of the ghost PID editor, kept apart from the window: each row is
// an input with its PID IN and PID OUT values and the radix it shows them
// in. Add's rules (limits, range, duplicates, replacement) live here.

#include <string>
#include <string_view>
#include <vector>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "ops/operator_messages.h"

namespace kv {

inline constexpr const char* GhostNeedBothPids = "Enter PID IN and PID OUT, please.";
inline constexpr const char* GhostInputLimit = msg::PidLimitPerInput;
inline constexpr const char* GhostTableLimit = "Limited 352 ghost PIDs.";
inline constexpr const char* GhostPidOutOfRange = "PID must be between 0 and 8191.";
inline constexpr const char* GhostDuplicate = "Items already exist in list!";

// The largest PID a ghost entry may carry: a PID map holds 13 bits.
inline constexpr int GhostPidMax = 8191;

struct GhostRow {
    int Input = 1;
    int PidIn = 0;
    int PidOut = 0;
    Radix Shown = Radix::Decimal;
};

// A row as the list shows it: the input as "%d", the PIDs as "%4d" or "%4.4X".
struct GhostRowTexts {
    std::string Input;
    std::string PidIn;
    std::string PidOut;
    bool operator==(const GhostRowTexts&) const = default;
};
GhostRowTexts TextsOf(const GhostRow& row);

struct GhostAddOutcome {
    const char* Refusal = nullptr; // the warning to show; nullptr when the row was taken
    bool Replaced = false;         // a selected row was replaced (it keeps its place)
    int Row = -1;                  // index of the row added or replaced
};

class GhostRows {
  public:
    // The store's entries, in store order, shown in decimal.
    void LoadFrom(const GhostBlock& ghosts);

    // Adds a row, or replaces row `selected` (-1: none) with the input and the
    // two PID texts read in `radix`. The per-input limit counts only what
    // `store` holds. Refused rows change nothing.
    GhostAddOutcome Add(const ConfigStore& store, int selected, int input, std::string_view pidInText,
                        std::string_view pidOutText, Radix radix);

    bool Remove(int index); // false when there is no such row
    void Clear() { rows_.clear(); }

    // Writes every row back as the store's ghost table and its count; an
    // empty list empties the table.
    void WriteTo(GhostBlock& ghosts) const;

    const std::vector<GhostRow>& Rows() const { return rows_; }
    int Count() const { return static_cast<int>(rows_.size()); }

  private:
    std::vector<GhostRow> rows_;
};

} // namespace kv
