#pragma once
// Helpers for driving modal boxes from GUI tests: a timer finds the active
// modal widget, records its text and answers it.

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/app_state.h"

namespace kv::test {

// The window program's state in the GUI tests: one for the whole test
// program, reset by the fixtures and handed to the windows they build.
inline ui::AppState& TestApp() {
    static ui::AppState state;
    return state;
}

// Answers every message box that opens while it lives: records its text and
// presses `answer` (Ok for one-button boxes when answer is not offered).
class BoxAnswerer {
  public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    // Answers to use for successive boxes; after they run out, `answer` is used.
    void QueueAnswers(std::initializer_list<QMessageBox::StandardButton> answers) {
        queued_.append(QList<QMessageBox::StandardButton>(answers));
    }
    const QStringList& Texts() const { return texts_; }
    QString Last() const { return texts_.isEmpty() ? QString() : texts_.back(); }
    const QList<QMessageBox::Icon>& Icons() const { return icons_; }

  private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == lastBox_) return;
        lastBox_ = box;
        texts_.append(box->text());
        icons_.append(box->icon());
        QMessageBox::StandardButton wanted = queued_.isEmpty() ? answer_ : queued_.takeFirst();
        QAbstractButton* button = box->button(wanted);
        if (!button) button = box->button(QMessageBox::Ok);
        if (!button && !box->buttons().isEmpty()) button = box->buttons().first();
        if (button) button->click();
        lastBox_ = nullptr;
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_;
    QList<QMessageBox::StandardButton> queued_;
    QStringList texts_;
    QList<QMessageBox::Icon> icons_;
    QMessageBox* lastBox_ = nullptr;
};

// Runs `action` once the next modal widget of type T is active (for dialogs
// other than message boxes: the editors, the file dialogs).
template <typename T> void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        *elapsed += 10;
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace kv::test
