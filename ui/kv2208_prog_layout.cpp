// Controls of the service editor: captions, items, hints, length limits and
// start states, placed on the fixed 969 x 654 client area.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include "ui/box_text.h"
#include "ui/kv2208_prog.h"
#include "ui/named.h"
#include "ui/pictures.h"

namespace kv::ui {
namespace {

constexpr int ClientWidth = 969;
constexpr int ClientHeight = 654;
constexpr int PidLength = 4;       // characters of a PID box
constexpr int ServiceIdLength = 5; // characters of the Service ID box
constexpr int BoxHeight = 22;

QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y + 3);
    label->adjustSize();
    return label;
}

QGroupBox* Group(QWidget* parent, const QString& name, const QString& caption, QRect where) {
    auto* group = Named(new QGroupBox(caption, parent), name);
    group->setGeometry(where);
    return group;
}

QLineEdit* NumberBox(QWidget* parent, const QString& name, int limit, QRect where) {
    auto* box = Named(new QLineEdit(parent), name);
    LimitTyping(box, limit);
    box->setGeometry(where);
    return box;
}

QComboBox* ListBox(QWidget* parent, const QString& name, const QStringList& items, QRect where) {
    auto* box = Named(new QComboBox(parent), name);
    box->addItems(items);
    box->setCurrentIndex(items.isEmpty() ? -1 : 0);
    box->setGeometry(where);
    return box;
}

QCheckBox* Check(QWidget* parent, const QString& name, const QString& caption, bool ticked, QPoint at) {
    auto* box = Named(new QCheckBox(caption, parent), name);
    box->setChecked(ticked);
    box->move(at);
    box->adjustSize();
    return box;
}

// The editor's speed buttons take no focus, so pressing one never runs the
// exit check of the box being edited.
QToolButton* SpeedButton(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                         const QIcon& glyph, QRect where) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(glyph);
    button->setIconSize(QSize(18, 18));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(where);
    return button;
}

// The PID groups of the middle and lower rows share one shape: In and Out
// boxes above a third line (a type list, or the subtitle button).
struct StreamGroup {
    QGroupBox* group;
    QLineEdit* in;
    QLineEdit* out;
};

constexpr int StreamGroupWidth = 180;
constexpr int StreamGroupHeight = 112;

StreamGroup MakeStreamGroup(QWidget* parent, const QString& caption, const QString& groupName,
                            const QString& inName, const QString& outName, QPoint at) {
    QGroupBox* group =
        Group(parent, groupName, caption, QRect(at, QSize(StreamGroupWidth, StreamGroupHeight)));
    Label(group, QStringLiteral("In:"), 12, 22);
    Label(group, QStringLiteral("Out:"), 12, 50);
    return {group, NumberBox(group, inName, PidLength, QRect(64, 22, 64, BoxHeight)),
            NumberBox(group, outName, PidLength, QRect(64, 50, 64, BoxHeight))};
}

constexpr int StreamGroupStep = StreamGroupWidth + 8;
constexpr int MiddleRowY = 84;
constexpr int LowRowY = MiddleRowY + StreamGroupHeight + 8;

// "Type:" and the type list on the third line of a video or audio group.
QComboBox* TypeList(QGroupBox* group, const QString& name, const QStringList& items) {
    Label(group, QStringLiteral("Type:"), 12, 78);
    return ListBox(group, name, items, QRect(64, 78, 100, 24));
}

const QStringList AudioTypes = {QStringLiteral("MPEG1"), QStringLiteral("MPEG2"), QStringLiteral("HEAAC"),
                                QStringLiteral("AAC"), QStringLiteral("AC3")};
const QStringList VideoTypes = {QStringLiteral("MPEG2"), QStringLiteral("H.264"), QStringLiteral("MPEG4")};

// Captions of the audio and data groups, blanks as the device shows them.
const char* const AudioCaptions[AudioSlots] = {" PID Audio1 ", " PID Audio2  ", " PID Audio3 ",
                                               " PID Audio4"};
const char* const DataCaptions[DataSlots] = {" PID Data1", " PID Data2 "};

struct Column {
    const char* header;
    int width;
    Qt::Alignment alignment;
};

// The row caption "Nº" and the thirteen cells of a service row.
const Column Columns[] = {
    {"N\u00BA", 40, Qt::AlignLeft},       {"PROVIDER", 100, Qt::AlignHCenter},
    {"SERVICE", 100, Qt::AlignHCenter},   {"IN", 40, Qt::AlignHCenter},
    {"SERVICE ID", 70, Qt::AlignHCenter}, {"PMT", 65, Qt::AlignHCenter},
    {"VIDEO", 65, Qt::AlignHCenter},      {"PCR", 65, Qt::AlignHCenter},
    {"AUDIO1", 65, Qt::AlignHCenter},     {"AUDIO2", 65, Qt::AlignHCenter},
    {"AUDIO3", 65, Qt::AlignLeft},        {"AUDIO4", 65, Qt::AlignLeft},
    {"DATA1", 65, Qt::AlignHCenter},      {"DATA2", 65, Qt::AlignHCenter},
};

} // namespace

int ProgTableColumnCount() {
    return static_cast<int>(std::size(Columns));
}

Qt::Alignment ProgTableAlignment(int column) {
    return (column >= 0 && column < ProgTableColumnCount() ? Columns[column].alignment : Qt::AlignLeft) |
           Qt::AlignVCenter;
}

void Tfrm_CfgProg::BuildControls() {
    setFixedSize(ClientWidth, ClientHeight);
    BuildEntryGroup();
    BuildTable();
}

void Tfrm_CfgProg::BuildEntryGroup() {
    grp_Programs =
        Group(this, QStringLiteral("grp_Programs"), QStringLiteral(" Programs "), QRect(8, 4, 953, 316));
    QWidget* g = grp_Programs;

    // Upper row: name, input, Service ID, PMT and PCR.
    Label(g, QStringLiteral("Name:"), 12, 34);
    cb_NameProg = ListBox(g, QStringLiteral("cb_NameProg"), {}, QRect(54, 34, 130, 24));
    Label(g, QStringLiteral("In (ASI):"), 200, 34);
    QStringList inputs;
    for (int input = 1; input <= InputCount; ++input) inputs << QString::number(input);
    cb_InAsi = ListBox(g, QStringLiteral("cb_InAsi"), inputs, QRect(256, 34, 56, 24));

    QGroupBox* sid =
        Group(g, QStringLiteral("grp_ServiceID"), QStringLiteral(" Service ID "), QRect(330, 18, 150, 56));
    Label(sid, QStringLiteral("SID :"), 12, 22);
    txt_ServiceID =
        NumberBox(sid, QStringLiteral("txt_ServiceID"), ServiceIdLength, QRect(56, 22, 76, BoxHeight));

    QGroupBox* pmt =
        Group(g, QStringLiteral("grp_PidPmt"), QStringLiteral(" PID PMT "), QRect(490, 18, 150, 56));
    Label(pmt, QStringLiteral("Out :"), 12, 22);
    txt_PidPmt = NumberBox(pmt, QStringLiteral("txt_PidPmt"), PidLength, QRect(56, 22, 76, BoxHeight));

    // The streams' groups in the order of their table: PCR ends the upper
    // row, video and the four audio streams make the middle row, the two
    // data streams open the lower row.
    const ServicePids none{};
    for (const ConstStreamRef& s : StreamsOf(none))
        streamBoxes_[StreamIndex(s.Kind, s.Slot)] = BuildStreamGroup(g, s.Kind, s.Slot);

    // The rest of the lower row: the flags, the radix and the speed buttons.
    QGroupBox* eit = Group(g, QStringLiteral("grp_EitFlags"), QStringLiteral(" EIT Flags "),
                           QRect(10 + 2 * StreamGroupStep, LowRowY, 92, StreamGroupHeight));
    ckb_Present = Check(eit, QStringLiteral("ckb_Present"), QStringLiteral("P / F"), false, QPoint(8, 30));
    ckb_Schedule =
        Check(eit, QStringLiteral("ckb_Schedule"), QStringLiteral("Schedule"), false, QPoint(8, 62));

    QGroupBox* genPmt = Group(g, QStringLiteral("grp_Pmt"), QStringLiteral(" PMT "),
                              QRect(eit->geometry().right() + 9, LowRowY, 126, StreamGroupHeight));
    ckb_genPMT =
        Check(genPmt, QStringLiteral("ckb_genPMT"), QStringLiteral("Generate PMT"), true, QPoint(8, 46));

    QGroupBox* pids = Group(g, QStringLiteral("grp_Pids"), QStringLiteral(" Pids "),
                            QRect(genPmt->geometry().right() + 9, LowRowY, 88, StreamGroupHeight));
    ckb_Duplicate =
        Check(pids, QStringLiteral("ckb_Duplicate"), QStringLiteral("Rep Out"), false, QPoint(8, 46));

    rdg_PidEdit = Group(g, QStringLiteral("rdg_PidEdit"), QStringLiteral(" PID Edit "),
                        QRect(pids->geometry().right() + 9, LowRowY, 126, StreamGroupHeight));
    radixButtons_ = new QButtonGroup(rdg_PidEdit);
    auto* decimal =
        Named(new QRadioButton(QStringLiteral("Decimal"), rdg_PidEdit), QStringLiteral("rdg_PidEdit0"));
    auto* hexadecimal =
        Named(new QRadioButton(QStringLiteral("HexaDecimal"), rdg_PidEdit), QStringLiteral("rdg_PidEdit1"));
    decimal->move(8, 30);
    hexadecimal->move(8, 62);
    decimal->adjustSize();
    hexadecimal->adjustSize();
    radixButtons_->addButton(decimal, static_cast<int>(Radix::Decimal));
    radixButtons_->addButton(hexadecimal, static_cast<int>(Radix::Hexadecimal));
    decimal->setChecked(true);

    // Speed buttons, stacked at the right end of the lower row.
    const int buttonX = rdg_PidEdit->geometry().right() + 12;
    const int buttonWidth = g->width() - buttonX - 10;
    auto speedRect = [&](int i) { return QRect(buttonX, LowRowY + 6 + i * 26, buttonWidth, 24); };
    bt_Ok = SpeedButton(g, QStringLiteral("bt_Ok"), QStringLiteral("Ok"),
                        QStringLiteral("Insert item into Programs"), pictures::Add(), speedRect(0));
    bt_Exit = SpeedButton(g, QStringLiteral("bt_Exit"), QStringLiteral("Exit"), QStringLiteral("Exit "),
                          pictures::Exit(), speedRect(1));
    bt_Delete = SpeedButton(g, QStringLiteral("bt_Delete"), QStringLiteral("Delete"),
                            QStringLiteral("Delete item of list"), pictures::Delete(), speedRect(2));
    bt_Clear = SpeedButton(g, QStringLiteral("bt_Clear"), QStringLiteral("Clear"),
                           QStringLiteral("Delete all data of list"), pictures::Clear(), speedRect(3));
}

Tfrm_CfgProg::StreamBoxes Tfrm_CfgProg::BuildStreamGroup(QWidget* g, StreamKind kind, int slot) {
    StreamBoxes boxes{.Kind = kind, .Slot = slot};
    const QString n = QString::number(slot + 1);
    switch (kind) {
    case StreamKind::Pcr: {
        QGroupBox* pcr =
            Group(g, QStringLiteral("grp_PidPcr"), QStringLiteral(" PID PCR "), QRect(650, 18, 292, 56));
        Label(pcr, QStringLiteral("In:"), 12, 22);
        boxes.In = NumberBox(pcr, QStringLiteral("txt_PidPcrIn"), PidLength, QRect(40, 22, 64, BoxHeight));
        Label(pcr, QStringLiteral("Out:"), 116, 22);
        boxes.Out = NumberBox(pcr, QStringLiteral("txt_PidPcrOut"), PidLength, QRect(150, 22, 64, BoxHeight));
        ckb_Pcr = Check(pcr, QStringLiteral("ckb_Pcr"), QStringLiteral(" Adjust"), true, QPoint(224, 24));
        break;
    }
    case StreamKind::Video: {
        const StreamGroup video = MakeStreamGroup(
            g, QStringLiteral(" PID Video "), QStringLiteral("grp_PidVideo"), QStringLiteral("txt_PidVidIn"),
            QStringLiteral("txt_PidVidOut"), QPoint(10, MiddleRowY));
        boxes.In = video.in;
        boxes.Out = video.out;
        boxes.Type = TypeList(video.group, QStringLiteral("cb_VidType"), VideoTypes);
        break;
    }
    case StreamKind::Audio: {
        const StreamGroup audio = MakeStreamGroup(
            g, QString::fromLatin1(AudioCaptions[slot]), "grp_PidAudio" + n, "txt_PidAud" + n + "In",
            "txt_PidAud" + n + "Out", QPoint(10 + StreamGroupStep * (slot + 1), MiddleRowY));
        boxes.In = audio.in;
        boxes.Out = audio.out;
        boxes.Type = TypeList(audio.group, "cb_Aud" + n + "Type", AudioTypes);
        break;
    }
    case StreamKind::Data: {
        const StreamGroup data = MakeStreamGroup(
            g, QString::fromLatin1(DataCaptions[slot]), "grp_PidData" + n, "txt_PidData" + n + "In",
            "txt_PidData" + n + "Out", QPoint(10 + StreamGroupStep * slot, LowRowY));
        boxes.In = data.in;
        boxes.Out = data.out;
        Label(data.group, QStringLiteral("Subtitle:"), 12, 78);
        auto* subtitle = Named(new QPushButton(QStringLiteral("..."), data.group), "bt_Sub" + n);
        subtitle->setGeometry(64, 78, 40, 24);
        subtitle->setAutoDefault(false);
        (slot == 0 ? bt_Sub1 : bt_Sub2) = subtitle;
        break;
    }
    }
    return boxes;
}

void Tfrm_CfgProg::BuildTable() {
    const int top = grp_Programs->geometry().bottom() + 6;
    grp_DataViews = Group(this, QStringLiteral("grp_DataViews"), QStringLiteral(" Data Views "),
                          QRect(8, top, 953, ClientHeight - top - 8));

    lst_Progs =
        Named(new QTableWidget(0, ProgTableColumnCount(), grp_DataViews), QStringLiteral("lst_Progs"));
    lst_Progs->setGeometry(6, 22, grp_DataViews->width() - 12, grp_DataViews->height() - 28);
    lst_Progs->setShowGrid(true);
    lst_Progs->setSelectionBehavior(QAbstractItemView::SelectRows);
    lst_Progs->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_Progs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lst_Progs->setWordWrap(false);
    lst_Progs->verticalHeader()->hide();
    lst_Progs->verticalHeader()->setDefaultSectionSize(20);
    QHeaderView* header = lst_Progs->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    for (int c = 0; c < ProgTableColumnCount(); ++c) {
        auto* item = new QTableWidgetItem(QString::fromUtf8(Columns[c].header));
        item->setTextAlignment(ProgTableAlignment(c));
        lst_Progs->setHorizontalHeaderItem(c, item);
        lst_Progs->setColumnWidth(c, Columns[c].width);
    }
}

} // namespace kv::ui
