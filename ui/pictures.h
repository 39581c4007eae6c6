#pragma once
// The pictures of the main window and the About dialog, drawn with QPainter:
// the two status LEDs, the toolbar and button glyphs, and the banner.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace kv::ui::pictures {

QPixmap Led(bool green, int size = 25);

// Toolbar and menu glyphs.
QIcon Connect();
QIcon Disconnect();
QIcon About();
QIcon Exit();

// Glyphs of the buttons of the " Programs " group.
QIcon Add();
QIcon Edit();
QIcon Delete();
QIcon Clear();
QIcon Ghost();
QIcon Open();
QIcon Save();
QIcon Get();
QIcon Send();

// The multiplexer emblem: eight inputs merging into one output, with the
// product name. Fills `size` (the network group's picture, the About banner).
QPixmap Banner(QSize size);
// A small badge with the product name for the right end of the toolbar.
QPixmap ToolbarBadge(QSize size);
// The multiplexer symbol of the desktop entry (data/kv2208-conf.svg).
QIcon WindowIcon();

} // namespace kv::ui::pictures
