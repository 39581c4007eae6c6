// Controls of the main window: captions, hints, pictures, limits and the
// start states; the handlers are connected here too.

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/box_text.h"
#include "ui/kv2208_conf.h"
#include "ui/named.h"
#include "ui/pictures.h"

namespace kv::ui {
namespace {

// A flat picture button with a hint and no caption (toolbar, decorations).
QToolButton* PictureButton(QWidget* parent, const char* name, const QIcon& icon, QSize iconSize,
                           const QString& hint) {
    auto* button = Named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setIconSize(iconSize);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A button of the " Programs " group: picture left of a bold caption,
// flat, with a hint; disabled until the content or connection allows it.
QToolButton* ProgramButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                           const QIcon& icon) {
    auto* button = PictureButton(parent, name, icon, QSize(22, 22), hint);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setFixedHeight(32);
    button->setEnabled(false);
    return button;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text) {
    return Named(new QLabel(text, parent), name);
}

// A network box: tooltip-coloured background while enabled (disabled it
// looks disabled), empty and disabled at start.
QLineEdit* NetworkBox(QWidget* parent, const char* name, int limit, int width) {
    auto* box = Named(new QLineEdit(parent), name);
    LimitTyping(box, limit);
    QPalette palette = box->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::ToolTipBase));
        palette.setColor(group, QPalette::Text, palette.color(group, QPalette::ToolTipText));
    }
    box->setPalette(palette);
    box->setFixedWidth(width);
    box->setEnabled(false);
    return box;
}

// A menu item that is enabled exactly while its button is.
class EnabledMirror : public QObject {
  public:
    EnabledMirror(QWidget* button, QAction* item) : QObject(button), item_(item) {
        item_->setEnabled(button->isEnabled());
        button->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            item_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

  private:
    QAction* item_;
};

// A framed panel of the status bar.
QFrame* StatusPanel(QWidget* parent, const char* name) {
    auto* panel = Named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedHeight(31);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);
    return panel;
}

} // namespace

void Tfrm_CfgMux::BuildMenu() {
    auto* bar = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(bar);

    mn_File = Named(bar->addMenu(QStringLiteral("File")), "mn_File");
    mn_Connect = Named(mn_File->addAction(pictures::Connect(), QStringLiteral("&Connect")), "mn_Connect");
    mn_Disconnect =
        Named(mn_File->addAction(pictures::Disconnect(), QStringLiteral("&Disconnect")), "mn_Disconnect");
    mn_Disconnect->setEnabled(false);
    // The Programs group's operations, so the window can be used without a
    // mouse; enabled with their buttons (BuildProgramGroup).
    mn_Open = Named(mn_File->addAction(pictures::Open(), QStringLiteral("&Open...")), "mn_Open");
    mn_Open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mn_Save = Named(mn_File->addAction(pictures::Save(), QStringLiteral("&Save...")), "mn_Save");
    mn_Save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mn_File->addSeparator();
    mn_Get = Named(mn_File->addAction(pictures::Get(), QStringLiteral("&Get")), "mn_Get");
    mn_Send = Named(mn_File->addAction(pictures::Send(), QStringLiteral("Send &Mux")), "mn_Send");
    mn_Send->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    Named(mn_File->addSeparator(), "mn_Trace1");
    mn_Exit = Named(mn_File->addAction(pictures::Exit(), QStringLiteral("&Exit")), "mn_Exit");

    mn_Config = Named(bar->addMenu(QStringLiteral("Config")), "mn_Config");
    mn_Port = Named(mn_Config->addMenu(QStringLiteral("&Port")), "mn_Port");
    for (int n = 1; n <= 9; ++n) {
        QAction* item = mn_Port->addAction(QStringLiteral(" %1").arg(n));
        item->setObjectName(QStringLiteral("mn_%1").arg(n));
        item->setCheckable(true);
        mn_PortItems[n - 1] = item;
        connect(item, &QAction::triggered, this, [this, item] { mn_1Click(item); });
    }
    mn_Devices = Named(mn_Config->addAction(QStringLiteral("Serial &devices...")), "mn_Devices");
    connect(mn_Devices, &QAction::triggered, this, &Tfrm_CfgMux::mn_DevicesClick);

    mn_Edit = Named(mn_Config->addAction(pictures::Edit(), QStringLiteral("&Edit programs...")), "mn_Edit");
    mn_Ghost = Named(mn_Config->addAction(pictures::Ghost(), QStringLiteral("&Ghost PIDs...")), "mn_Ghost");
    mn_Capture = Named(mn_Config->addAction(QStringLiteral("Services from &capture...")), "mn_Capture");
    mn_MuxMap = Named(mn_Config->addAction(QStringLiteral("Multiplex &map...")), "mn_MuxMap");
    mn_MuxMap->setEnabled(false);
    connect(mn_Config, &QMenu::aboutToShow, this, &Tfrm_CfgMux::mn_ConfigPopup);
    connect(mn_MuxMap, &QAction::triggered, this, &Tfrm_CfgMux::mn_MuxMapClick);

    mn_Help = Named(bar->addMenu(QStringLiteral("Help")), "mn_Help");
    mn_About = Named(mn_Help->addAction(pictures::About(), QStringLiteral("&About")), "mn_About");

    connect(mn_Connect, &QAction::triggered, this, &Tfrm_CfgMux::bt_ConnectClick);
    connect(mn_Disconnect, &QAction::triggered, this, &Tfrm_CfgMux::bt_DisconnectClick);
    connect(mn_Exit, &QAction::triggered, this, &Tfrm_CfgMux::bt_ExitClick);
    connect(mn_About, &QAction::triggered, this, &Tfrm_CfgMux::bt_AboutClick);
    connect(mn_Open, &QAction::triggered, this, &Tfrm_CfgMux::bt_OpenClick);
    connect(mn_Save, &QAction::triggered, this, &Tfrm_CfgMux::bt_SaveClick);
    connect(mn_Get, &QAction::triggered, this, &Tfrm_CfgMux::bt_GetClick);
    connect(mn_Send, &QAction::triggered, this, &Tfrm_CfgMux::bt_SendClick);
    connect(mn_Edit, &QAction::triggered, this, &Tfrm_CfgMux::bt_EditClick);
    connect(mn_Ghost, &QAction::triggered, this, &Tfrm_CfgMux::bt_GhostClick);
    connect(mn_Capture, &QAction::triggered, this, &Tfrm_CfgMux::mn_CaptureClick);
}

QWidget* Tfrm_CfgMux::BuildToolbar() {
    grp_Toolbar = Named(new QFrame(this), "grp_Toolbar");
    grp_Toolbar->setFrameShape(QFrame::StyledPanel);
    grp_Toolbar->setFrameShadow(QFrame::Raised);
    grp_Toolbar->setFixedHeight(48);
    auto* row = new QHBoxLayout(grp_Toolbar);
    row->setContentsMargins(4, 3, 6, 3);
    row->setSpacing(2);

    const QSize glyph(30, 30);
    bt_Connect =
        PictureButton(grp_Toolbar, "bt_Connect", pictures::Connect(), glyph, QStringLiteral("Connect"));
    bt_Disconnect = PictureButton(grp_Toolbar, "bt_Disconnect", pictures::Disconnect(), glyph,
                                  QStringLiteral("Disconnect"));
    bt_About = PictureButton(grp_Toolbar, "bt_About", pictures::About(), glyph, QStringLiteral("About"));
    bt_Exit = PictureButton(grp_Toolbar, "bt_Exit", pictures::Exit(), glyph, QStringLiteral("Exit"));
    bt_Disconnect->setEnabled(false);
    row->addWidget(bt_Connect);
    row->addWidget(bt_Disconnect);
    auto* divider = new QFrame(grp_Toolbar);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    row->addWidget(divider);
    row->addWidget(bt_About);
    row->addWidget(bt_Exit);
    row->addStretch();

    // Decorative picture at the right end: a flat button without any action.
    const QSize badge(150, 36);
    auto* logo =
        PictureButton(grp_Toolbar, "bt_Badge", QIcon(pictures::ToolbarBadge(badge)), badge, QString());
    logo->setAutoRaise(true);
    row->addWidget(logo);

    connect(bt_Connect, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_ConnectClick);
    connect(bt_Disconnect, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_DisconnectClick);
    connect(bt_About, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_AboutClick);
    connect(bt_Exit, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_ExitClick);
    return grp_Toolbar;
}

QGroupBox* Tfrm_CfgMux::BuildNitGroup() {
    grp_Nit = Named(new QGroupBox(QStringLiteral(" NIT - Network Information Table "), this), "grp_Nit");
    auto* grid = new QGridLayout(grp_Nit);
    grid->setContentsMargins(10, 12, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(9);

    txt_NetName = NetworkBox(grp_Nit, "txt_NetName", 10, 110);
    grid->addWidget(Caption(grp_Nit, "lbl_NetName", QStringLiteral("Network Name:")), 0, 0);
    grid->addWidget(txt_NetName, 0, 1, 1, 2, Qt::AlignLeft);

    rdg_Mode = Named(new QGroupBox(QStringLiteral(" Mode "), grp_Nit), "rdg_Mode");
    auto* modes = new QHBoxLayout(rdg_Mode);
    modes->setContentsMargins(10, 4, 10, 4);
    rdg_ModeByte = Named(new QRadioButton(QStringLiteral("Byte"), rdg_Mode), "rdg_ModeByte");
    rdg_ModePack = Named(new QRadioButton(QStringLiteral("Pack"), rdg_Mode), "rdg_ModePack");
    rdg_ModeByte->setChecked(true);
    modes->addWidget(rdg_ModeByte);
    modes->addWidget(rdg_ModePack);
    grid->addWidget(rdg_Mode, 1, 0, 1, 3);

    txt_BitRate = NetworkBox(grp_Nit, "txt_BitRate", 9, 100);
    grid->addWidget(Caption(grp_Nit, "lbl_BitRate", QStringLiteral("Bit Rate:")), 2, 0);
    grid->addWidget(txt_BitRate, 2, 1);
    grid->addWidget(Caption(grp_Nit, "lbl_Bps", QStringLiteral("(Bps)")), 2, 2);

    txt_TSID = NetworkBox(grp_Nit, "txt_TSID", 4, 100);
    grid->addWidget(Caption(grp_Nit, "lbl_TSID", QStringLiteral("Transport Stream ID:")), 3, 0);
    grid->addWidget(txt_TSID, 3, 1);
    grid->addWidget(Caption(grp_Nit, "lbl_Dec", QStringLiteral("(Dec)")), 3, 2);
    grid->setColumnStretch(2, 1);

    // Large decorative picture: a flat button without any action.
    const QSize banner(270, 120);
    bt_Brimco = PictureButton(grp_Nit, "bt_Brimco", QIcon(pictures::Banner(banner)), banner, QString());
    grid->setRowStretch(4, 1);
    grid->addWidget(bt_Brimco, 5, 0, 1, 3, Qt::AlignCenter);
    InstallNetworkFilters();
    return grp_Nit;
}

QGroupBox* Tfrm_CfgMux::BuildProgramGroup() {
    grp_Program = Named(new QGroupBox(QStringLiteral(" Programs "), this), "grp_Program");
    auto* columns = new QHBoxLayout(grp_Program);
    columns->setContentsMargins(10, 12, 10, 10);
    columns->setSpacing(10);

    // Two button columns left of the list: Open, Save, Get outside, level
    // with Delete, Clear, Ghost; "Send Mux", the largest, below them.
    bt_Add = ProgramButton(grp_Program, "bt_Add", QStringLiteral("Add"),
                           QStringLiteral("Add new program in list"), pictures::Add());
    bt_Edit = ProgramButton(grp_Program, "bt_Edit", QStringLiteral("Edit"),
                            QStringLiteral("Configure Programs Pid"), pictures::Edit());
    bt_Delete = ProgramButton(grp_Program, "bt_Delete", QStringLiteral("Delete"),
                              QStringLiteral("Delete Program selected"), pictures::Delete());
    bt_Clear = ProgramButton(grp_Program, "bt_Clear", QStringLiteral("Clear"),
                             QStringLiteral("Delete all programs"), pictures::Clear());
    bt_Ghost = ProgramButton(grp_Program, "bt_Ghost", QStringLiteral("Ghost"),
                             QStringLiteral("Configure ghost data"), pictures::Ghost());
    bt_Open = ProgramButton(grp_Program, "bt_Open", QStringLiteral("Open"), QStringLiteral("Open file "),
                            pictures::Open());
    bt_Save = ProgramButton(grp_Program, "bt_Save", QStringLiteral("Save"), QStringLiteral("Save in file"),
                            pictures::Save());
    bt_Get = ProgramButton(grp_Program, "bt_Get", QStringLiteral("Get"),
                           QStringLiteral("Get data from Multiplexer"), pictures::Get());
    bt_Send = ProgramButton(grp_Program, "bt_Send", QStringLiteral("Send Mux"),
                            QStringLiteral("Send data to Mux"), pictures::Send());
    bt_Send->setIconSize(QSize(32, 32));
    bt_Send->setFixedHeight(52);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    QToolButton* inner[] = {bt_Add, bt_Edit, bt_Delete, bt_Clear, bt_Ghost};
    for (int row = 0; row < 5; ++row) buttons->addWidget(inner[row], row, 1);
    QToolButton* outer[] = {bt_Open, bt_Save, bt_Get};
    for (int row = 0; row < 3; ++row) buttons->addWidget(outer[row], row + 2, 0);
    buttons->setRowMinimumHeight(5, 8);
    buttons->addWidget(bt_Send, 6, 0, 1, 2);
    buttons->setRowStretch(7, 1);
    buttons->setColumnMinimumWidth(0, 84);
    buttons->setColumnMinimumWidth(1, 84);
    columns->addLayout(buttons);

    auto* listColumn = new QVBoxLayout;
    listColumn->setSpacing(3);
    txt_NameProg = Named(new QLineEdit(grp_Program), "txt_NameProg");
    LimitTyping(txt_NameProg, 10);
    txt_NameProg->setEnabled(false);
    lst_Prog = Named(new QListWidget(grp_Program), "lst_Prog");
    listColumn->addWidget(Caption(grp_Program, "lbl_Name", QStringLiteral("Name:")));
    listColumn->addWidget(txt_NameProg);
    listColumn->addSpacing(4);
    listColumn->addWidget(Caption(grp_Program, "lbl_Programs", QStringLiteral("Programs:")));
    listColumn->addWidget(lst_Prog, 1);
    columns->addLayout(listColumn, 1);

    connect(bt_Add, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_AddClick);
    // txt_NameProgKeyPress: Enter runs Add; the key, like every other, passes on.
    connect(txt_NameProg, &QLineEdit::returnPressed, this, &Tfrm_CfgMux::bt_AddClick);
    // A click, or a selection moved by the keys, copies the entry's text.
    connect(lst_Prog, &QListWidget::itemClicked, this, &Tfrm_CfgMux::lst_ProgClick);
    connect(lst_Prog, &QListWidget::itemSelectionChanged, this, &Tfrm_CfgMux::lst_ProgClick);
    connect(bt_Edit, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_EditClick);
    connect(bt_Delete, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_DeleteClick);
    connect(bt_Clear, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_ClearClick);
    connect(bt_Ghost, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_GhostClick);
    connect(bt_Open, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_OpenClick);
    connect(bt_Save, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_SaveClick);
    connect(bt_Get, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_GetClick);
    connect(bt_Send, &QToolButton::clicked, this, &Tfrm_CfgMux::bt_SendClick);

    const std::pair<QToolButton*, QAction*> menuItems[] = {{bt_Open, mn_Open}, {bt_Save, mn_Save},
                                                           {bt_Get, mn_Get},   {bt_Send, mn_Send},
                                                           {bt_Edit, mn_Edit}, {bt_Ghost, mn_Ghost}};
    for (const auto& [button, item] : menuItems) new EnabledMirror(button, item);
    new EnabledMirror(bt_Add, mn_Capture); // usable where the Programs operations are
    return grp_Program;
}

QWidget* Tfrm_CfgMux::BuildStatusBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);

    grp_Conexao = StatusPanel(bar, "grp_Conexao");
    // RedLed lies on top of GreenLed: green shows exactly when red is hidden.
    auto* leds = new QWidget(grp_Conexao);
    leds->setFixedSize(25, 25);
    GreenLed = Named(new QLabel(leds), "GreenLed");
    GreenLed->setPixmap(pictures::Led(true));
    GreenLed->setGeometry(0, 0, 25, 25);
    RedLed = Named(new QLabel(leds), "RedLed");
    RedLed->setPixmap(pictures::Led(false));
    RedLed->setGeometry(0, 0, 25, 25);
    RedLed->raise();
    lbl_Status = Caption(grp_Conexao, "lbl_Status", QStringLiteral("Disconnected"));
    grp_Conexao->layout()->addWidget(leds);
    grp_Conexao->layout()->addWidget(lbl_Status);
    grp_Conexao->setFixedWidth(150);

    grp_PortSerial = StatusPanel(bar, "grp_PortSerial");
    lbl_Port = Caption(grp_PortSerial, "lbl_Port", QStringLiteral("Port: "));
    lbl_PortSerial = Caption(grp_PortSerial, "lbl_PortSerial", QString());
    grp_PortSerial->layout()->addWidget(lbl_Port);
    grp_PortSerial->layout()->addWidget(lbl_PortSerial);
    static_cast<QHBoxLayout*>(grp_PortSerial->layout())->addStretch();
    grp_PortSerial->layout()->setSpacing(0);
    grp_PortSerial->setFixedWidth(100);

    grp_Brimco = StatusPanel(bar, "grp_Brimco");
    lbl_Brimco =
        Caption(grp_Brimco, "lbl_Brimco", QStringLiteral("KV2200-8 Multiplexer 8x1 - Configuration"));
    lbl_Brimco->setAlignment(Qt::AlignCenter);
    grp_Brimco->layout()->addWidget(lbl_Brimco);
    prg_Transfer = Named(new QProgressBar(grp_Brimco), "prg_Transfer");
    prg_Transfer->setTextVisible(true);
    prg_Transfer->hide();
    grp_Brimco->layout()->addWidget(prg_Transfer);

    grp_Timer = StatusPanel(bar, "grp_Timer");
    lbl_Timer = Caption(grp_Timer, "lbl_Timer", QString());
    lbl_Timer->setAlignment(Qt::AlignCenter);
    grp_Timer->layout()->addWidget(lbl_Timer);
    grp_Timer->setFixedWidth(90);

    row->addWidget(grp_Conexao);
    row->addWidget(grp_PortSerial);
    row->addWidget(grp_Brimco, 1);
    row->addWidget(grp_Timer);
    return bar;
}

} // namespace kv::ui
