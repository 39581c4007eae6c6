#include "ui/multiplex_refusals.h"

#include <QLineEdit>

#include "ops/editor_pid_rules.h"
#include "ops/multiplex_check.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

void Refuse(QWidget* parent, const std::string& message, QLineEdit* box) {
    ShowWarning(parent, QString::fromStdString(message));
    if (box) box->setFocus(Qt::OtherFocusReason);
}

} // namespace

bool ConfirmSendDespiteErrors(QWidget* parent, const ConfigStore& store) {
    const std::string question = SendAnywayQuestion(CheckMultiplex(store));
    return question.empty() || AskQuestion(parent, QString::fromStdString(question), true);
}

bool RefuseTakenServicePid(QWidget* parent, const ConfigStore& store, const ServiceEntry& entry, Radix radix,
                           const ServiceSlot& slot, const std::function<QLineEdit*(int box)>& boxAt) {
    const std::optional<PidRefusal> refusal = ServiceEntryPidRefusal(store, entry, radix, slot);
    if (!refusal) return false;
    const bool known = refusal->Box == PmtBox || (refusal->Box >= 0 && refusal->Box < StreamCount);
    Refuse(parent, refusal->Message, known ? boxAt(refusal->Box) : nullptr);
    return true;
}

bool RefuseTakenGhostPid(QWidget* parent, const ConfigStore& store, const GhostRows& rows, int selected,
                         int input, const QString& pidInText, const QString& pidOutText, Radix radix,
                         QLineEdit* pidOutBox) {
    GhostRows after = rows;
    const GhostAddOutcome outcome =
        after.Add(store, selected, input, pidInText.toStdString(), pidOutText.toStdString(), radix);
    if (outcome.Refusal) return false;
    const std::optional<std::string> refusal = GhostRowPidRefusal(store, after, outcome.Row, radix);
    if (!refusal) return false;
    Refuse(parent, *refusal, pidOutBox);
    return true;
}

} // namespace kv::ui
