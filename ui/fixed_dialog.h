#pragma once
// The frame of the service editor and the subtitle dialog: the tool's
// title, a fixed single border with the system menu only, modal.

#include <QDialog>

#include "ui/message_box.h"
#include "ui/named.h"

namespace kv::ui {

inline void SetUpFixedDialog(QDialog* dialog, const QString& name) {
    Named(dialog, name);
    dialog->setWindowTitle(AppTitle);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setModal(true);
}

} // namespace kv::ui
