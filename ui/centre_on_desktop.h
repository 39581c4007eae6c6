#pragma once
// The main window, the service editor and the About box open centred on the
// desktop, not on the window that opened them.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kv::ui {

inline void CentreOnDesktop(QWidget* window) {
    const QScreen* desktop = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (desktop) window->move(desktop->availableGeometry().center() - window->rect().center());
}

} // namespace kv::ui
