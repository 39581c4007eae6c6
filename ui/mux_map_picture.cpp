// Draws the multiplex map: a header with the counts and the generated tables,
// then one card per input in a grid of four columns. A card shows the pair
// bar of its input and one line per service (its name, then a chip per output
// PID) and the ghost entries of the input.

#include "ui/mux_map_picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <set>
#include <vector>

#include "model/service_streams.h"
#include "tables/image_layout.h"
#include "tables/pat_table.h"
#include "ui/box_text.h"

namespace kv::ui {
namespace {

constexpr int Margin = 12;
constexpr int Columns = 4;
constexpr int CardWidth = 420;
constexpr int Gap = 10;
constexpr int CardHeader = 30;
constexpr int LineHeight = 21;
constexpr int ChipHeight = 17;
constexpr int NameWidth = 100;
constexpr int HeaderHeight = 62;
constexpr int MaxPairs = PidsPerInput;

enum class Mark { Plain, Table, Warning, Error };

struct Chip {
    QString Text;
    Mark mark = Mark::Plain;
};

// One line of a card: a caption in the name column and its chips.
struct CardLine {
    QString Caption;
    bool Ghosts = false;
    std::vector<Chip> Chips;
};

struct Card {
    int Input = 1;
    std::vector<CardLine> Lines;
    int Height = 0;
};

struct Marks {
    std::set<int> Errors, Warnings;
    Mark Of(int pid, Mark plain = Mark::Plain) const {
        if (Errors.count(pid)) return Mark::Error;
        if (Warnings.count(pid)) return Mark::Warning;
        return plain;
    }
};

QFont PixelFont(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

const QFont& ChipFont() {
    static const QFont font = PixelFont(11);
    return font;
}

QString ShortStreamName(StreamKind kind, int slot) {
    switch (kind) {
    case StreamKind::Pcr:
        return QStringLiteral("PCR");
    case StreamKind::Video:
        return QStringLiteral("V");
    case StreamKind::Audio:
        return QStringLiteral("A%1").arg(slot + 1);
    case StreamKind::Data:
        return QStringLiteral("D%1").arg(slot + 1);
    }
    return {};
}

// The chips of one service: its PMT when the tool generates it, then every
// present stream; a PCR on the PID of another stream of the service shares
// that stream's chip.
std::vector<Chip> ServiceChips(const ServiceBlock& sb, int i, const Marks& marks) {
    std::vector<Chip> chips;
    const ServicePids& p = sb.SvcPids[i];
    const int pmt = sb.SvcPmtPid[i];
    if (p.GenPmt) chips.push_back({QStringLiteral("PMT %1").arg(pmt), marks.Of(pmt, Mark::Table)});
    const auto streams = StreamsOf(p);
    int pcrHost = -1; // the first other stream on the PCR's PID
    for (int k = 1; k < StreamCount && pcrHost < 0 && HasStream(streams[0]); ++k)
        if (HasStream(streams[k]) && streams[k].PidOut == p.PcrOut) pcrHost = k;
    for (int k = 0; k < StreamCount; ++k) {
        const ConstStreamRef& s = streams[k];
        if (!HasStream(s) || (k == 0 && pcrHost > 0)) continue;
        QString name = ShortStreamName(s.Kind, s.Slot);
        if (k == pcrHost) name += QStringLiteral("+PCR");
        chips.push_back({name + QLatin1Char(' ') + QString::number(s.PidOut), marks.Of(s.PidOut)});
    }
    return chips;
}

std::vector<Card> BuildCards(const ConfigStore& store, const Marks& marks) {
    std::vector<Card> cards(InputCount);
    for (int k = 0; k < InputCount; ++k) cards[k].Input = k + 1;
    const int services = std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
    for (int i = 0; i < services; ++i) {
        const int input = store.Svc.SvcInput[i];
        if (input < 1 || input > InputCount) continue;
        cards[input - 1].Lines.push_back(
            {StoreText(store.Svc.SvcInfo[i].Name, MaxNameLength), false, ServiceChips(store.Svc, i, marks)});
    }
    const int ghosts = std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts);
    for (int g = 0; g < ghosts; ++g) {
        const int input = store.Ghost.GhostInput[g];
        if (input < 1 || input > InputCount) continue;
        std::vector<CardLine>& lines = cards[input - 1].Lines;
        if (lines.empty() || !lines.back().Ghosts) lines.push_back({QStringLiteral("ghosts"), true, {}});
        const int out = store.Ghost.GhostPidOut[g];
        lines.back().Chips.push_back(
            {QStringLiteral("%1\u2192%2").arg(store.Ghost.GhostPidIn[g]).arg(out), marks.Of(out)});
    }
    return cards;
}

int ChipWidth(const Chip& chip) {
    return QFontMetrics(ChipFont()).horizontalAdvance(chip.Text) + 10;
}

// Lays the chips of a line out from the name column, wrapping at the card's
// right edge; returns the number of text lines it takes. With a painter it
// draws them too.
int FlowChips(const CardLine& line, int left, int top, QPainter* painter) {
    const int start = left + NameWidth;
    const int right = left + CardWidth - 8;
    int x = start;
    int rows = 1;
    for (const Chip& chip : line.Chips) {
        const int w = ChipWidth(chip);
        if (x > start && x + w > right) {
            x = start;
            ++rows;
        }
        if (painter) {
            static const QColor fills[] = {QColor(0xe4, 0xec, 0xf7), QColor(0xee, 0xee, 0xee),
                                           QColor(0xff, 0xee, 0xbb), QColor(0xff, 0xcc, 0xcc)};
            static const QColor borders[] = {QColor(0x7f, 0x98, 0xbd), QColor(0x99, 0x99, 0x99),
                                             QColor(0xc0, 0x8a, 0x00), QColor(0xd0, 0x00, 0x00)};
            const int m = static_cast<int>(chip.mark);
            const QRect box(x, top + (rows - 1) * LineHeight + 2, w, ChipHeight);
            painter->setPen(QPen(borders[m], chip.mark == Mark::Error ? 2 : 1));
            painter->setBrush(fills[m]);
            painter->drawRoundedRect(box, 4, 4);
            QFont font = ChipFont();
            font.setBold(chip.mark == Mark::Error);
            painter->setFont(font);
            painter->setPen(chip.mark == Mark::Error ? QColor(0xb0, 0, 0) : QColor(0x20, 0x20, 0x20));
            painter->drawText(box, Qt::AlignCenter, chip.Text);
        }
        x += w + 4;
    }
    return rows;
}

void MeasureCards(std::vector<Card>& cards) {
    for (Card& card : cards) {
        int rows = 0;
        for (const CardLine& line : card.Lines) rows += FlowChips(line, 0, 0, nullptr);
        card.Height = CardHeader + std::max(rows, 1) * LineHeight + 8;
    }
}

void DrawCard(QPainter& p, const Card& card, int pairs, int left, int top, int height) {
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRect(left, top, CardWidth, height), 6, 6);

    p.setFont(PixelFont(14, true));
    p.setPen(Qt::black);
    p.drawText(QRect(left + 10, top + 4, 80, 22), Qt::AlignVCenter,
               QStringLiteral("Input %1").arg(card.Input));
    const bool full = pairs >= MaxPairs;
    const QRect bar(left + 96, top + 10, CardWidth - 96 - 70, 11);
    p.setPen(QColor(0xa0, 0xa0, 0xa0));
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawRect(bar);
    const int filled = bar.width() * std::clamp(pairs, 0, MaxPairs) / MaxPairs;
    p.setPen(Qt::NoPen);
    p.setBrush(full ? QColor(0xd0, 0x20, 0x20) : QColor(0x3c, 0x9a, 0x4a));
    p.drawRect(QRect(bar.left() + 1, bar.top() + 1, std::max(filled - 1, 0), bar.height() - 1));
    p.setFont(PixelFont(12, full));
    p.setPen(full ? QColor(0xb0, 0, 0) : Qt::black);
    p.drawText(QRect(bar.right() + 6, top + 4, 60, 22), Qt::AlignVCenter,
               QStringLiteral("%1/%2").arg(pairs).arg(MaxPairs));

    int y = top + CardHeader;
    if (card.Lines.empty()) {
        p.setFont(PixelFont(11, false, true));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawText(QRect(left + 10, y, CardWidth - 20, LineHeight), Qt::AlignVCenter,
                   QStringLiteral("not used"));
    }
    for (const CardLine& line : card.Lines) {
        p.setFont(PixelFont(11, !line.Ghosts, line.Ghosts));
        p.setPen(line.Ghosts ? QColor(0x60, 0x60, 0x60) : Qt::black);
        const QRect name(left + 10, y, NameWidth - 14, LineHeight);
        p.drawText(name, Qt::AlignVCenter,
                   QFontMetrics(p.font()).elidedText(line.Caption, Qt::ElideRight, name.width()));
        y += FlowChips(line, left, y, &p) * LineHeight;
    }
}

// "Services 41/41", "Adjusted PCRs 32/32" and the findings; each in red
// when it is beyond its limit or holds errors.
void DrawSummary(QPainter& p, const MultiplexReport& report, int left, int top) {
    const struct {
        QString text;
        bool alarm;
    } parts[] = {
        {QStringLiteral("Services %1/%2").arg(report.Services).arg(MaxPatServices),
         report.Services > MaxPatServices},
        {QStringLiteral("Adjusted PCRs %1/%2").arg(report.AdjustedPcrs).arg(PcrListASlots),
         report.AdjustedPcrs > PcrListASlots},
        {FindingsCountText(report), report.Errors() > 0},
    };
    int x = left;
    for (const auto& part : parts) {
        const QFont font = PixelFont(13, part.alarm);
        p.setFont(font);
        p.setPen(part.alarm ? QColor(0xb0, 0, 0) : Qt::black);
        p.drawText(QRect(x, top, 600, 22), Qt::AlignVCenter, part.text);
        x += QFontMetrics(font).horizontalAdvance(part.text) + 24;
    }
}

// The tables the tool generates (PAT, NIT, SDT), with their PIDs.
std::vector<Chip> GeneratedChips(const MultiplexReport& report, const Marks& marks) {
    std::vector<Chip> chips;
    for (const OutputUse& use : report.Outputs)
        if (use.Input == 0 && use.Carries.rfind("PMT", 0) != 0)
            chips.push_back(
                {QString::fromStdString(use.Carries) + QLatin1Char(' ') + QString::number(use.Pid),
                 marks.Of(use.Pid, Mark::Table)});
    return chips;
}

void DrawHeader(QPainter& p, const MultiplexReport& report, const Marks& marks, int width) {
    p.setFont(PixelFont(16, true));
    p.setPen(Qt::black);
    p.drawText(QRect(Margin, Margin - 2, width, 22), Qt::AlignVCenter, QStringLiteral("Multiplex map"));
    DrawSummary(p, report, Margin + 140, Margin - 2);
    const CardLine generated{QStringLiteral("generated"), false, GeneratedChips(report, marks)};
    p.setFont(PixelFont(12, false, true));
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawText(QRect(Margin, Margin + 26, NameWidth, LineHeight), Qt::AlignVCenter, generated.Caption);
    FlowChips(generated, Margin, Margin + 26, &p);

    // Legend at the right end.
    const CardLine legend{QString(),
                          false,
                          {{QStringLiteral("output PID"), Mark::Plain},
                           {QStringLiteral("generated table"), Mark::Table},
                           {QStringLiteral("warning"), Mark::Warning},
                           {QStringLiteral("conflict"), Mark::Error}}};
    int legendWidth = 0;
    for (const Chip& chip : legend.Chips) legendWidth += ChipWidth(chip) + 4;
    FlowChips(legend, width - Margin - legendWidth - NameWidth, Margin + 26, &p);
}

} // namespace

QString FindingsCountText(const MultiplexReport& report) {
    const auto counted = [](int n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
    };
    return counted(report.Errors(), "error", "errors") + QStringLiteral(", ") +
           counted(report.Warnings(), "warning", "warnings");
}

QImage DrawMuxMap(const ConfigStore& store, const MultiplexReport& report) {
    Marks marks;
    for (const Finding& f : report.Findings)
        (f.severity == Severity::Error ? marks.Errors : marks.Warnings).insert(f.Pids.begin(), f.Pids.end());

    std::vector<Card> cards = BuildCards(store, marks);
    MeasureCards(cards);
    const int rows = (InputCount + Columns - 1) / Columns;
    std::vector<int> rowHeights(rows, 0);
    for (int k = 0; k < InputCount; ++k)
        rowHeights[k / Columns] = std::max(rowHeights[k / Columns], cards[k].Height);

    const int width = 2 * Margin + Columns * CardWidth + (Columns - 1) * Gap;
    int height = 2 * Margin + HeaderHeight;
    for (int h : rowHeights) height += h + Gap;

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xf7, 0xf7, 0xf4));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawHeader(p, report, marks, width);
    int top = Margin + HeaderHeight;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < Columns && r * Columns + c < InputCount; ++c) {
            const int k = r * Columns + c;
            DrawCard(p, cards[k], report.Pairs[k], Margin + c * (CardWidth + Gap), top, rowHeights[r]);
        }
        top += rowHeights[r] + Gap;
    }
    return image;
}

} // namespace kv::ui
