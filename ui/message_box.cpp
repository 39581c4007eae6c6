#include "ui/message_box.h"

#include <QMessageBox>

namespace kv::ui {
namespace {

QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons, const QString& detail = {},
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
    QMessageBox box(icon, AppTitle, text, buttons, parent);
    box.setObjectName(QStringLiteral("msg_Box"));
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    if (!detail.isEmpty()) box.setDetailedText(detail);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ShowWarning(QWidget* parent, const QString& text, const QString& detail) {
    Show(parent, QMessageBox::Warning, text, QMessageBox::Ok, detail);
}

bool AskQuestion(QWidget* parent, const QString& text, bool defaultNo) {
    return Show(parent, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, {},
                defaultNo ? QMessageBox::No : QMessageBox::NoButton) == QMessageBox::Yes;
}

void ShowError(QWidget* parent, const QString& text, const QString& detail) {
    Show(parent, QMessageBox::Critical, text, QMessageBox::Ok, detail);
}

void ShowInformation(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& detail) {
    Show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok, detail);
}

} // namespace kv::ui
