#include "ui/multiplex_refusals.h"

#include <QLineEdit>
#include <QStringList>

#include "ops/editor_pid_rules.h"
#include "ops/multiplex_check.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

constexpr int MaxListedErrors = 10; // the rest of a long list shows as "..."

void Refuse(QWidget* parent, const std::string& message, QLineEdit* box) {
    ShowWarning(parent, QString::fromStdString(message));
    if (box) box->setFocus(Qt::OtherFocusReason);
}

} // namespace

bool ConfirmSendDespiteErrors(QWidget* parent, const ConfigStore& store) {
    const MultiplexReport report = CheckMultiplex(store);
    if (report.Errors() == 0) return true;
    QStringList lines{QStringLiteral("The multiplex has %1 errors:").arg(report.Errors())};
    int listed = 0;
    for (const Finding& finding : report.Findings) {
        if (finding.severity != Severity::Error) continue;
        if (listed++ == MaxListedErrors) {
            lines.append(QStringLiteral("..."));
            break;
        }
        lines.append(QString::fromStdString(finding.Message));
    }
    lines.append(QStringLiteral("Send anyway?"));
    return AskQuestion(parent, lines.join(QLatin1Char('\n')), true);
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
