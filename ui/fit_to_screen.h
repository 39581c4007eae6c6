#pragma once
// Windows that fit the screen: one larger than the screen's available area
// (at a large scale factor, on a small screen) shows its content in a scroll
// area and takes the size that fits; one that fits keeps its size.

#include <QSize>

class QWidget;

namespace kv::ui {

// The room the screen of `window` leaves for a window's client area, its
// frame set aside.
QSize RoomOnScreen(const QWidget* window);

// Call when the window is built, before it is placed.
void FitToScreen(QWidget* window);

} // namespace kv::ui
