#include "ui/fit_to_screen.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kv::ui {
namespace {

// What a window manager's frame takes around the client area: borders and
// a title bar.
constexpr QSize FrameAllowance(16, 40);

QScrollArea* ScrollAreaOf(QWidget* parent, QWidget* content) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(QStringLiteral("scr_Window"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content); // the content keeps its own size
    return area;
}

// Moves the window's content, laid out or placed by hand, into a widget of
// its own.
QWidget* TakeContent(QWidget* window, QSize size) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("wdg_Content"));
    if (QLayout* layout = window->layout()) {
        content->setLayout(layout); // takes the layout and its widgets over
        content->setMinimumSize(size);
        content->resize(size);
        return content;
    }
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;
        const bool hidden = child->testAttribute(Qt::WA_WState_ExplicitShowHide) && child->isHidden();
        child->setParent(content); // keeps its geometry
        if (!hidden) child->show();
    }
    content->setFixedSize(size);
    return content;
}

} // namespace

QSize RoomOnScreen(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return {};
    return screen->availableGeometry().size() - FrameAllowance;
}

void FitToScreen(QWidget* window) {
    if (QLayout* layout = window->layout()) layout->activate();
    const QSize need = window->size();
    const QSize room = RoomOnScreen(window);
    if (!room.isValid() || (need.width() <= room.width() && need.height() <= room.height())) return;
    const QSize fitted = need.boundedTo(room);

    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        main->setCentralWidget(ScrollAreaOf(main, main->takeCentralWidget()));
    } else {
        QWidget* content = TakeContent(window, need);
        auto* frame = new QVBoxLayout(window);
        frame->setContentsMargins(0, 0, 0, 0);
        frame->addWidget(ScrollAreaOf(window, content));
    }
    window->setMinimumSize(0, 0);
    window->setFixedSize(fitted);
}

} // namespace kv::ui
