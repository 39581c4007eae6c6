#pragma once
// Every message the windows show goes through here: four kinds of box and
// the plain message dialog, all with the tool's title.

#include <QString>

class QWidget;

namespace kv::ui {

inline const QString AppTitle = QStringLiteral("KV2200-8 Multiplixer 8x1 - Brimco");

// `detail`, when given, is the box's detailed text behind "Show Details..."
// (a device or file path and the reason).
void ShowWarning(QWidget* parent, const QString& text, const QString& detail = {}); // exclamation icon, OK
// exclamation icon, Yes/No; true for Yes. Yes is the default unless `defaultNo`.
bool AskQuestion(QWidget* parent, const QString& text, bool defaultNo = false);
void ShowError(QWidget* parent, const QString& text, const QString& detail = {}); // stop icon, OK
void ShowInformation(QWidget* parent, const QString& text);                       // information icon, OK
// The plain message dialog: no icon, OK. Only "File corrupted!" uses it,
// with the reason as its detailed text.
void ShowMessage(QWidget* parent, const QString& text, const QString& detail = {});

} // namespace kv::ui
