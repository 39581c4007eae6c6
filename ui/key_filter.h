#pragma once
// Key filters and the "leaving a box" hook shared by every window.

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;
class QComboBox;

namespace kv::ui {

using CharRule = std::function<bool(char32_t)>;

// Swallows every typed character the rule refuses (navigation keys without a
// character pass). The rule is asked at the moment of the key, so it may
// depend on a radix choice. Pasted text loses the characters the rule
// refuses. `onEnter` runs on Enter or the keypad's Enter when the rule
// refuses them (the ghost editor runs Add).
void InstallKeyFilter(QLineEdit* box, CharRule admitted, std::function<void()> onEnter = {});

// "0" to "9" and backspace: the transport stream ID and the Service ID.
bool DigitKeyAdmitted(char32_t ch);

// Escape leaves `dialog` open: it is left by its own buttons or its close box.
void KeepOpenOnEscape(QWidget* dialog);

// Runs `onExit` when focus leaves the widget for another control of the same
// window (not when a message box or another window takes the focus).
void OnFocusExit(QWidget* widget, std::function<void()> onExit);

// A combo box whose text can only be chosen from its items: typed keys are
// swallowed.
void BlockTyping(QComboBox* box);

} // namespace kv::ui
