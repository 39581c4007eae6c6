#pragma once
// Where the windows apply the multiplex check: "Send Mux" asks before it
// sends a multiplex with errors, and the editors refuse an entry that would
// create one.

#include <QString>
#include <functional>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "ops/ghost_rows.h"
#include "ops/service_entry.h"

class QLineEdit;
class QWidget;

namespace kv::ui {

// True when the multiplex has no errors, or when the operator answers Yes to
// "The multiplex has N errors:" with their messages and "Send anyway?"
// (default No). Warnings alone do not ask.
bool ConfirmSendDespiteErrors(QWidget* parent, const ConfigStore& store);

// The service editor's Ok: when storing `entry` in `slot` would put its PMT or
// an output PID on a PID another source or a generated table uses, warns
// "Output PID N is already used by NAME (video)." with the focus in the
// offending box and returns true. `boxAt(-1)` is the PMT box, `boxAt(k)` the
// output box of stream k (StreamIndex).
bool RefuseTakenServicePid(QWidget* parent, const ConfigStore& store, const ServiceEntry& entry, Radix radix,
                           const ServiceSlot& slot, const std::function<QLineEdit*(int box)>& boxAt);

// The ghost editor's Add: the same for the row that Add would make of the
// texts (row `selected` replaced, or a new row), with the focus in
// `pidOutBox`. A row that Add itself refuses is left to Add.
bool RefuseTakenGhostPid(QWidget* parent, const ConfigStore& store, const GhostRows& rows, int selected,
                         int input, const QString& pidInText, const QString& pidOutText, Radix radix,
                         QLineEdit* pidOutBox);

} // namespace kv::ui
