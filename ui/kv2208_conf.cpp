// The main window: creation, showing, activation, the clock, the dialogs it
// opens, Exit, and the enabled states of its controls.

#include "ui/kv2208_conf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QShowEvent>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "link/serial_channel.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"
#include "tables/rate.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/capture_dialog.h"
#include "ui/centre_on_desktop.h"
#include "ui/fit_to_screen.h"
#include "ui/kv2208_about.h"
#include "ui/kv2208_ghost.h"
#include "ui/kv2208_prog.h"
#include "ui/message_box.h"
#include "ui/pictures.h"

namespace kv::ui {

QString ClockText(int hours, int minutes, int seconds) {
    return QString::asprintf(" %2.2d:%2.2d:%2.2d", hours, minutes, seconds);
}

Tfrm_CfgMux::Tfrm_CfgMux(AppState& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName(QStringLiteral("frm_CfgMux"));
    setWindowTitle(AppTitle);
    setWindowIcon(pictures::WindowIcon());
    // Fixed single border, only the system menu in the title bar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    BuildMenu();
    auto* client = new QWidget(this);
    client->setFixedSize(652, 463);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(4, 3, 4, 3);
    column->setSpacing(5);
    column->addWidget(BuildToolbar());
    auto* groups = new QHBoxLayout;
    groups->setSpacing(6);
    groups->addWidget(BuildNitGroup(), 0);
    groups->addWidget(BuildProgramGroup(), 1);
    column->addLayout(groups, 1);
    column->addWidget(BuildStatusBar());
    setCentralWidget(client);
    setFixedSize(652, 463 + menuBar()->sizeHint().height());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Tfrm_CfgMux::Timer1Timer);
    Timer1->start();

    EndProcess = [] {
        QCoreApplication::exit(0);
        std::_Exit(0);
    };

    FormCreate();
    FitToScreen(this);
    CentreOnDesktop(this);
}

Tfrm_CfgMux::~Tfrm_CfgMux() {
    if (channel_ && app_.Channel.get() == channel_) app_.Channel.reset();
}

void Tfrm_CfgMux::FormCreate() {
    app_.Store.Svc.SvcCount = 0;
    app_.Store.Ghost.GhostCount = 0;
    app_.Saved.Mark(app_.Store);

    // The channel reports a port it cannot open or configure in an error box
    // over this window (queued to the GUI thread should it ever report from
    // elsewhere).
    QPointer<Tfrm_CfgMux> window(this);
    // The device path and the reason go to the box's detailed text.
    app_.Channel =
        std::make_unique<SerialChannel>(app_.AppFolder, [window, &app = app_](const ChannelError& error) {
            const QString text = QString::fromStdString(msg::ChannelErrorText(error));
            const QString detail = QString::fromStdString(PortFailureDetail(app.Channel->LastFailure()));
            if (QThread::currentThread() == qApp->thread())
                ShowError(window, text, detail);
            else
                QMetaObject::invokeMethod(
                    qApp, [window, text, detail] { ShowError(window, text, detail); }, Qt::QueuedConnection);
        });
    channel_ = app_.Channel.get();
    ShowPort(true);
}

bool Tfrm_CfgMux::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QMainWindow::event(e);
}

// Closing the window by its frame loses unsaved work just as Exit does.
// A running transfer is waited for: the window cannot close under it.
void Tfrm_CfgMux::closeEvent(QCloseEvent* e) {
    if (transferRunning_ || (!exitConfirmed_ && !MayLoseUnsavedWork())) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

// Showing runs FormShow, then the activation runs FormActivate. The window
// asks for the activation itself: a display without a window manager (a
// virtual one, for instance) would otherwise never activate it.
void Tfrm_CfgMux::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (e->spontaneous()) return;
    FormShow();
    activateWindow();
}

void Tfrm_CfgMux::FormShow() {
    const ConfigStore& store = app_.Store;
    if (store.Svc.SvcCount > 0) {
        SetTextWhole(txt_NetName, StoreText(store.Svc.NetName, MaxNameLength));
        ShowRate(store.Svc.RateGaps, store.Svc.RateStuff);
        // TsId is an unsigned 16-bit identifier: 40000 shows as 40000.
        SetTextWhole(txt_TSID, QString::number(store.Svc.TsId));
        AppendServiceNames();
        SetContentButtons(true, true);
    } else if (store.Ghost.GhostCount > 0) {
        ShowRate(store.Ghost.GhostRateGaps, store.Ghost.GhostRateStuff);
        bt_Send->setEnabled(true);
        bt_Save->setEnabled(true);
    }
}

void Tfrm_CfgMux::ShowRate(const int16_t* gaps, int16_t stuff) {
    ShowRate(EffectiveBitRate(gaps, stuff), stuff == 0);
}

void Tfrm_CfgMux::ShowRate(int64_t effectiveRate, bool packMode) {
    SetTextWhole(txt_BitRate, QString::number(effectiveRate));
    (packMode ? rdg_ModePack : rdg_ModeByte)->setChecked(true);
}

void Tfrm_CfgMux::AppendServiceNames() {
    const ConfigStore& store = app_.Store;
    const int count = std::clamp<int>(store.Svc.SvcCount, 0, MaxServices);
    for (int i = 0; i < count; ++i) lst_Prog->addItem(StoreText(store.Svc.SvcInfo[i].Name, MaxNameLength));
}

void Tfrm_CfgMux::Timer1Timer() {
    const QTime now = QTime::currentTime();
    lbl_Timer->setText(ClockText(now.hour(), now.minute(), now.second()));
}

void Tfrm_CfgMux::bt_AboutClick() {
    Tfrm_About about(this);
    CentreOnDesktop(&about);
    about.exec();
}

void Tfrm_CfgMux::bt_EditClick() {
    QStringList names;
    for (int i = 0; i < lst_Prog->count(); ++i) names.append(lst_Prog->item(i)->text());
    Tfrm_CfgProg editor(
        app_.Store, ProgEditorHost{names, txt_NetName->text(), [this] { bt_Send->setEnabled(true); }}, this);
    editor.exec();
}

void Tfrm_CfgMux::bt_GhostClick() {
    Tfrm_CfgGhost ghost(
        app_.Store,
        [this] {
            bt_Send->setEnabled(true);
            bt_Save->setEnabled(true);
        },
        this);
    ghost.exec();
}

// The chosen services are stored; their names join the program list.
void Tfrm_CfgMux::mn_CaptureClick() {
    Tfrm_Capture capture(app_.Store, ConfigFolder(app_.AppFolder), this);
    if (capture.exec() != QDialog::Accepted || capture.Added().empty()) return;
    for (const std::string& name : capture.Added()) lst_Prog->addItem(QString::fromStdString(name));
    SetContentButtons(true, true);
}

bool Tfrm_CfgMux::MayLoseUnsavedWork() {
    return !app_.Saved.Changed(app_.Store) || AskQuestion(this, QString::fromLatin1(UnsavedQuestion));
}

void Tfrm_CfgMux::bt_ExitClick() {
    if (transferRunning_ || !MayLoseUnsavedWork()) return;
    exitConfirmed_ = true;
    if (app_.Channel) app_.Channel->Close();
    close();
    if (EndProcess) EndProcess();
}

void Tfrm_CfgMux::SetConnectedControls(bool connected) {
    bt_Connect->setEnabled(!connected);
    mn_Connect->setEnabled(!connected);
    mn_Port->menuAction()->setEnabled(!connected);
    mn_Devices->setEnabled(!connected);
    for (QWidget* control : std::initializer_list<QWidget*>{bt_Disconnect, bt_Add, bt_Get, bt_Open, bt_Ghost,
                                                            txt_NameProg, txt_NetName, txt_TSID, txt_BitRate})
        control->setEnabled(connected);
    mn_Disconnect->setEnabled(connected);
    RedLed->setVisible(!connected);
}

void Tfrm_CfgMux::SetContentButtons(bool listButtons, bool saveAndSend) {
    bt_Edit->setEnabled(listButtons);
    bt_Delete->setEnabled(listButtons);
    bt_Clear->setEnabled(listButtons);
    bt_Save->setEnabled(saveAndSend);
    bt_Send->setEnabled(saveAndSend);
}

void Tfrm_CfgMux::ShowPort(bool trailingBlank) {
    lbl_PortSerial->setText(QStringLiteral(" %1%2").arg(app_.ComPort).arg(trailingBlank ? " " : ""));
}

} // namespace kv::ui
