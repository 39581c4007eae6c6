#pragma once
// Length limits that bind what the operator types, while text the program
// puts into a box (a transport stream ID of 40000 read back from the device)
// is shown whole and read back whole.

#include <QString>

class QLineEdit;

namespace kv::ui {

// The operator may type at most `limit` characters into `box`.
void LimitTyping(QLineEdit* box, int limit);

// Puts `text` into the box whole, even beyond its typing limit. Once the
// operator shortens such a text, the limit binds again.
void SetTextWhole(QLineEdit* box, const QString& text);

// Store text fields (names) are 8-bit characters, not always terminated:
// at most `capacity` bytes up to the first zero.
QString StoreText(const char* field, int capacity);

} // namespace kv::ui
