#include "ui/box_text.h"

#include <QLineEdit>
#include <QVariant>
#include <algorithm>

#include "model/bounded_text.h"

namespace kv::ui {
namespace {

const char* const TypingLimit = "kvTypingLimit";

int LimitOf(const QLineEdit* box) {
    const QVariant limit = box->property(TypingLimit);
    return limit.isValid() ? limit.toInt() : box->maxLength();
}

} // namespace

void LimitTyping(QLineEdit* box, int limit) {
    box->setProperty(TypingLimit, limit);
    box->setMaxLength(limit);
    // A long program text may be shortened by the operator; the box then
    // never grows past the shorter of that text and the limit.
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
        const int limit = LimitOf(box);
        if (box->maxLength() > limit) box->setMaxLength(std::max<int>(limit, text.size()));
    });
}

void SetTextWhole(QLineEdit* box, const QString& text) {
    box->setMaxLength(std::max<int>(LimitOf(box), text.size()));
    box->setText(text);
}

QString StoreText(const char* field, int capacity) {
    const std::string_view text = BoundedText(field, static_cast<std::size_t>(std::max(capacity, 0)));
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kv::ui
