#include "ui/key_filter.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include "model/pid_text.h"

namespace kv::ui {
namespace {

bool AdmitsAll(const CharRule& rule, const QString& text) {
    for (QChar c : text)
        if (!rule(c.unicode())) return false;
    return true;
}

class KeyFilter : public QObject {
  public:
    KeyFilter(QObject* parent, CharRule rule, std::function<void()> onEnter)
        : QObject(parent), rule_(std::move(rule)), onEnter_(std::move(onEnter)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab and Backtab carry a character but move the focus: navigation.
        // Delete carries one on X11 (0x7F) but is an editing key like the arrows.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
            return false;
        // Shortcuts (copy, paste, undo ...) carry a control character; they
        // are characters like any other for the rule.
        QString text = key->text();
        if (text.isEmpty()) return false;
        if (AdmitsAll(rule_, text)) return false;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && onEnter_) onEnter_();
        return true;
    }

  private:
    CharRule rule_;
    std::function<void()> onEnter_;
};

// Strips refused characters from text that arrives other than by typing
// (pasting through the context menu).
class RuleValidator : public QValidator {
  public:
    RuleValidator(QObject* parent, CharRule rule) : QValidator(parent), rule_(std::move(rule)) {}
    State validate(QString& input, int& pos) const override {
        QString kept;
        for (int i = 0; i < input.size(); ++i) {
            if (rule_(input[i].unicode()) && input[i].unicode() >= 32)
                kept.append(input[i]);
            else if (i < pos)
                --pos;
        }
        input = kept;
        pos = std::min<int>(pos, input.size());
        return Acceptable;
    }

  private:
    CharRule rule_;
};

class FocusExit : public QObject {
  public:
    FocusExit(QObject* parent, std::function<void()> onExit) : QObject(parent), onExit_(std::move(onExit)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) onExit_();
        }
        return false;
    }

  private:
    std::function<void()> onExit_;
};

class EscapeKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
    }
};

} // namespace

void InstallKeyFilter(QLineEdit* box, CharRule admitted, std::function<void()> onEnter) {
    box->installEventFilter(new KeyFilter(box, admitted, std::move(onEnter)));
    box->setValidator(new RuleValidator(box, std::move(admitted)));
}

void OnFocusExit(QWidget* widget, std::function<void()> onExit) {
    widget->installEventFilter(new FocusExit(widget, std::move(onExit)));
}

bool DigitKeyAdmitted(char32_t ch) {
    return (ch >= '0' && ch <= '9') || ch == kv::Backspace;
}

void KeepOpenOnEscape(QWidget* dialog) {
    dialog->installEventFilter(new EscapeKeeper(dialog));
}

void BlockTyping(QComboBox* box) {
    box->setEditable(false);
    box->installEventFilter(new KeyFilter(box, [](char32_t) { return false; }, {}));
}

} // namespace kv::ui
