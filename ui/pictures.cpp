#include "ui/pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <functional>

namespace kv::ui::pictures {
namespace {

using Drawing = std::function<void(QPainter&)>;

// Every glyph is drawn on a 32 x 32 grid and rendered at the sizes the
// toolbar, the buttons and the menus ask for.
QIcon MakeIcon(const Drawing& draw) {
    QIcon icon;
    for (int size : {16, 20, 24, 28, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen Outline(const QColor& colour, qreal width = 1.4) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& light, const QColor& dark) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

// A round badge with a white symbol: Add, Delete and About share it.
void Disc(QPainter& p, const QColor& light, const QColor& dark) {
    p.setPen(Outline(dark.darker(130)));
    p.setBrush(Vertical(3, 29, light, dark));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QRectF(8, 5, 16, 9));
}

void WhiteBar(QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.2, 1.2);
}

// The plug and socket of Connect and Disconnect; `gap` pulls them apart.
void PlugAndSocket(QPainter& p, qreal gap) {
    const QColor metal(96, 106, 120);
    p.setPen(Outline(metal.darker(140)));
    // Plug on the left with two prongs.
    p.setBrush(Vertical(10, 22, QColor(230, 233, 238), QColor(150, 158, 170)));
    p.drawRoundedRect(QRectF(4 - gap, 10, 9, 12), 2, 2);
    p.setBrush(QColor(200, 170, 60));
    p.drawRect(QRectF(13 - gap, 12, 4, 2));
    p.drawRect(QRectF(13 - gap, 18, 4, 2));
    p.drawLine(QPointF(1 - gap, 16), QPointF(4 - gap, 16));
    // Socket on the right.
    p.setBrush(Vertical(9, 23, QColor(230, 233, 238), QColor(150, 158, 170)));
    p.drawRoundedRect(QRectF(17 + gap, 9, 10, 14), 2, 2);
    p.drawLine(QPointF(27 + gap, 16), QPointF(31, 16));
}

void DrawConnect(QPainter& p) {
    PlugAndSocket(p, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 160, 67));
    p.drawEllipse(QRectF(20, 22, 10, 10));
    p.setPen(Outline(Qt::white, 1.6));
    p.drawPolyline(QPolygonF({QPointF(22.5, 27), QPointF(24.5, 29), QPointF(27.5, 25)}));
}

void DrawDisconnect(QPainter& p) {
    PlugAndSocket(p, 2.5);
    p.setPen(Outline(QColor(200, 40, 40), 2));
    p.drawLine(QPointF(14, 5), QPointF(18, 27));
}

void DrawAbout(QPainter& p) {
    Disc(p, QColor(92, 156, 230), QColor(30, 90, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 8, 4, 4));
    p.drawRoundedRect(QRectF(14, 14, 4, 11), 1.2, 1.2);
}

void DrawExit(QPainter& p) {
    // Door frame and open door.
    p.setPen(Outline(QColor(90, 70, 50)));
    p.setBrush(QColor(245, 240, 230));
    p.drawRect(QRectF(5, 4, 14, 24));
    p.setBrush(Vertical(4, 28, QColor(196, 140, 90), QColor(140, 90, 50)));
    p.drawPolygon(QPolygonF({QPointF(5, 4), QPointF(13, 7), QPointF(13, 30), QPointF(5, 28)}));
    // Arrow leaving through the door.
    p.setPen(Outline(QColor(200, 40, 40), 3));
    p.drawLine(QPointF(16, 16), QPointF(27, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(31, 16), QPointF(24, 10.5), QPointF(24, 21.5)}));
}

void DrawAdd(QPainter& p) {
    Disc(p, QColor(110, 200, 110), QColor(40, 140, 60));
    WhiteBar(p, QRectF(14, 8.5, 4, 15));
    WhiteBar(p, QRectF(8.5, 14, 15, 4));
}

void DrawDelete(QPainter& p) {
    Disc(p, QColor(240, 110, 100), QColor(180, 35, 35));
    WhiteBar(p, QRectF(8.5, 14, 15, 4));
}

void DrawEdit(QPainter& p) {
    p.save();
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(Outline(QColor(70, 60, 40), 1.2));
    p.setBrush(Vertical(-4, 4, QColor(255, 214, 90), QColor(230, 160, 30)));
    p.drawRect(QRectF(-9, -4, 17, 8));
    p.setBrush(QColor(240, 140, 150));
    p.drawRoundedRect(QRectF(8, -4, 5, 8), 1.5, 1.5);
    p.setBrush(QColor(240, 215, 170));
    p.drawPolygon(QPolygonF({QPointF(-9, -4), QPointF(-15, 0), QPointF(-9, 4)}));
    p.setBrush(QColor(50, 50, 50));
    p.drawPolygon(QPolygonF({QPointF(-13, -1.3), QPointF(-15, 0), QPointF(-13, 1.3)}));
    p.restore();
}

void DrawClear(QPainter& p) {
    const QColor dark(80, 90, 100);
    p.setPen(Outline(dark));
    p.setBrush(Vertical(9, 29, QColor(210, 215, 222), QColor(140, 148, 160)));
    p.drawPolygon(QPolygonF({QPointF(8, 10), QPointF(24, 10), QPointF(22.5, 29), QPointF(9.5, 29)}));
    p.drawLine(QPointF(13, 14), QPointF(13.5, 25));
    p.drawLine(QPointF(16, 14), QPointF(16, 25));
    p.drawLine(QPointF(19, 14), QPointF(18.5, 25));
    p.setBrush(QColor(170, 178, 190));
    p.drawRoundedRect(QRectF(5, 6, 22, 4), 1.5, 1.5);
    p.drawRoundedRect(QRectF(13, 3, 6, 3), 1, 1);
}

void DrawGhost(QPainter& p) {
    QPainterPath body;
    body.moveTo(6, 28);
    body.lineTo(6, 15);
    body.cubicTo(6, 3, 26, 3, 26, 15);
    body.lineTo(26, 28);
    body.lineTo(22.5, 25);
    body.lineTo(19, 28);
    body.lineTo(16, 25);
    body.lineTo(13, 28);
    body.lineTo(9.5, 25);
    body.closeSubpath();
    p.setPen(Outline(QColor(90, 90, 140)));
    p.setBrush(Vertical(5, 28, QColor(250, 250, 255), QColor(200, 200, 232)));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 80));
    p.drawEllipse(QRectF(11, 12, 3.5, 5));
    p.drawEllipse(QRectF(17.5, 12, 3.5, 5));
}

void DrawOpen(QPainter& p) {
    const QColor edge(160, 110, 20);
    p.setPen(Outline(edge));
    p.setBrush(QColor(230, 180, 60));
    QPainterPath back;
    back.moveTo(3, 26);
    back.lineTo(3, 7);
    back.lineTo(11, 7);
    back.lineTo(13, 10);
    back.lineTo(25, 10);
    back.lineTo(25, 14);
    p.drawPath(back);
    p.setBrush(Vertical(14, 27, QColor(255, 222, 120), QColor(236, 176, 50)));
    p.drawPolygon(QPolygonF({QPointF(3, 27), QPointF(8, 14), QPointF(30, 14), QPointF(25, 27)}));
}

void DrawSave(QPainter& p) {
    p.setPen(Outline(QColor(25, 55, 110)));
    p.setBrush(Vertical(4, 28, QColor(80, 130, 210), QColor(35, 75, 150)));
    p.drawPolygon(
        QPolygonF({QPointF(4, 4), QPointF(24, 4), QPointF(28, 8), QPointF(28, 28), QPointF(4, 28)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 238, 244));
    p.drawRect(QRectF(9, 4.7, 13, 8));
    p.setBrush(QColor(35, 75, 150));
    p.drawRect(QRectF(17, 6, 3, 5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 17, 16, 10), 1, 1);
    p.setPen(Outline(QColor(170, 180, 200), 1));
    p.drawLine(QPointF(10.5, 20.5), QPointF(21.5, 20.5));
    p.drawLine(QPointF(10.5, 23.5), QPointF(21.5, 23.5));
}

// The multiplexer as a small device front with its status light.
void DeviceBox(QPainter& p, qreal top) {
    p.setPen(Outline(QColor(50, 60, 75)));
    p.setBrush(Vertical(top, top + 9, QColor(120, 134, 150), QColor(60, 70, 85)));
    p.drawRoundedRect(QRectF(3, top, 26, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 230, 110));
    p.drawEllipse(QRectF(6, top + 3, 3, 3));
    p.setBrush(QColor(180, 190, 205));
    for (int i = 0; i < 4; ++i) p.drawRect(QRectF(13 + 3.5 * i, top + 3, 2, 3));
}

void Arrow(QPainter& p, QPointF from, QPointF tip, const QColor& colour) {
    const qreal dir = tip.y() > from.y() ? 1 : -1;
    p.setPen(Outline(colour, 3.4));
    p.drawLine(from, QPointF(tip.x(), tip.y() - dir * 5));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(
        QPolygonF({tip, QPointF(tip.x() - 6, tip.y() - dir * 7), QPointF(tip.x() + 6, tip.y() - dir * 7)}));
}

void DrawGet(QPainter& p) {
    DeviceBox(p, 3);
    Arrow(p, QPointF(16, 13), QPointF(16, 29), QColor(20, 130, 170));
}

void DrawSend(QPainter& p) {
    DeviceBox(p, 20);
    Arrow(p, QPointF(16, 2), QPointF(16, 19), QColor(40, 150, 60));
}

// Eight input lines merge into a trapezoid (the multiplexer) with one output.
void DrawEmblem(QPainter& p, const QRectF& area, const QColor& line, const QColor& body) {
    const qreal w = area.width(), h = area.height();
    const qreal x0 = area.left(), y0 = area.top();
    const QRectF mux(x0 + w * 0.38, y0 + h * 0.08, w * 0.26, h * 0.84);
    p.setPen(QPen(line, std::max<qreal>(1.2, h / 60)));
    for (int i = 0; i < 8; ++i) {
        const qreal y = y0 + h * (0.14 + 0.72 * i / 7.0);
        p.drawLine(QPointF(x0, y), QPointF(mux.left(), y));
        p.setBrush(line);
        p.drawEllipse(QPointF(x0 + w * 0.03, y), h / 45, h / 45);
    }
    const qreal out = y0 + h * 0.5;
    p.drawLine(QPointF(mux.right(), out), QPointF(x0 + w * 0.93, out));
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawPolygon(QPolygonF({QPointF(x0 + w, out), QPointF(x0 + w * 0.9, out - h * 0.07),
                             QPointF(x0 + w * 0.9, out + h * 0.07)}));
    p.setPen(QPen(line, std::max<qreal>(1.2, h / 60)));
    p.setBrush(body);
    p.drawPolygon(QPolygonF({mux.topLeft(), QPointF(mux.right(), mux.top() + h * 0.2),
                             QPointF(mux.right(), mux.bottom() - h * 0.2), mux.bottomLeft()}));
}

void BlueBackground(QPainter& p, const QRectF& r, qreal radius) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(22, 58, 110));
    g.setColorAt(1, QColor(8, 24, 52));
    p.setPen(QPen(QColor(8, 20, 40), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

QFont ScaledFont(qreal pixelSize, int weight) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setWeight(QFont::Weight(weight));
    return f;
}

// The largest font up to `pixelSize` in which `text` fits `width`.
QFont FittingFont(const QString& text, qreal width, qreal pixelSize, int weight) {
    QFont font = ScaledFont(pixelSize, weight);
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

} // namespace

QPixmap Led(bool green, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lit = green ? QColor(70, 220, 90) : QColor(235, 50, 45);
    const QColor deep = green ? QColor(10, 110, 30) : QColor(120, 10, 10);
    const QRectF body(2, 2, size - 4, size - 4);
    // Bezel, lens, highlight.
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(0, size, QColor(120, 120, 120), QColor(230, 230, 230)));
    p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    QRadialGradient lens(body.center() + QPointF(-size * 0.12, -size * 0.12), size * 0.55);
    lens.setColorAt(0, lit.lighter(140));
    lens.setColorAt(0.55, lit);
    lens.setColorAt(1, deep);
    p.setBrush(lens);
    p.drawEllipse(body);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(size * 0.3, size * 0.2, size * 0.3, size * 0.2));
    return pixmap;
}

QIcon Connect() {
    return MakeIcon(DrawConnect);
}
QIcon Disconnect() {
    return MakeIcon(DrawDisconnect);
}
QIcon About() {
    return MakeIcon(DrawAbout);
}
QIcon Exit() {
    return MakeIcon(DrawExit);
}
QIcon Add() {
    return MakeIcon(DrawAdd);
}
QIcon Edit() {
    return MakeIcon(DrawEdit);
}
QIcon Delete() {
    return MakeIcon(DrawDelete);
}
QIcon Clear() {
    return MakeIcon(DrawClear);
}
QIcon Ghost() {
    return MakeIcon(DrawGhost);
}
QIcon Open() {
    return MakeIcon(DrawOpen);
}
QIcon Save() {
    return MakeIcon(DrawSave);
}
QIcon Get() {
    return MakeIcon(DrawGet);
}
QIcon Send() {
    return MakeIcon(DrawSend);
}

QPixmap Banner(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(0, 0, size.width(), size.height());
    BlueBackground(p, all, 8);
    const qreal h = size.height();
    // Emblem on the left, the name on the right, both centred on the height.
    const QRectF emblem(h * 0.14, h * 0.18, h * 0.9, h * 0.64);
    DrawEmblem(p, emblem, QColor(120, 200, 255), QColor(40, 90, 160));
    const QRectF text(emblem.right() + h * 0.14, h * 0.2, all.width() - emblem.right() - h * 0.28, h * 0.6);
    p.setPen(QColor(230, 240, 255));
    p.setFont(FittingFont(QStringLiteral("KV2200-8"), text.width(), h * 0.26, QFont::Bold));
    p.drawText(text.adjusted(0, 0, 0, -text.height() * 0.45), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("KV2200-8"));
    p.setPen(QColor(140, 200, 250));
    p.setFont(FittingFont(QStringLiteral("Multiplexer 8x1"), text.width(), h * 0.13, QFont::Normal));
    p.drawText(text.adjusted(0, text.height() * 0.6, 0, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Multiplexer 8x1"));
    return pixmap;
}

QPixmap ToolbarBadge(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal h = size.height();
    BlueBackground(p, QRectF(0, 0, size.width(), h), 5);
    DrawEmblem(p, QRectF(h * 0.2, h * 0.2, h * 0.9, h * 0.6), QColor(120, 200, 255), QColor(40, 90, 160));
    p.setPen(QColor(230, 240, 255));
    const QRectF text(h * 1.25, 0, size.width() - h * 1.4, h);
    p.setFont(FittingFont(QStringLiteral("KV2200-8"), text.width(), h * 0.38, QFont::Bold));
    p.drawText(text, Qt::AlignCenter, QStringLiteral("KV2200-8"));
    return pixmap;
}

QIcon WindowIcon() {
    QSvgRenderer symbol(QStringLiteral(":/icons/kv2208-conf.svg"));
    return MakeIcon([&symbol](QPainter& p) { symbol.render(&p, QRectF(0, 0, 32, 32)); });
}

} // namespace kv::ui::pictures
