#include "ui/message_box.h"

#include <QMessageBox>

namespace kv::ui {
namespace {

QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons, const QString& detail = QString()) {
    QMessageBox box(icon, AppTitle, text, buttons, parent);
    box.setObjectName(QStringLiteral("msg_Box"));
    if (!detail.isEmpty()) box.setDetailedText(detail);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ShowWarning(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

bool AskQuestion(QWidget* parent, const QString& text) {
    return Show(parent, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ShowError(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void ShowError(QWidget* parent, const QString& text, const QString& detail) {
    Show(parent, QMessageBox::Critical, text, QMessageBox::Ok, detail);
}

void ShowInformation(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void ShowMessage(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

} // namespace kv::ui
