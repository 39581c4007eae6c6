// "Send Mux" and "Get" hold the line for up to the silence time; the transfer
// runs on a worker thread while the window repaints and answers, kept from a
// second operation until it ends.

#include <QAction>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>
#include <utility>
#include <vector>

#include "link/transfer.h"
#include "ui/app_state.h"
#include "ui/kv2208_conf.h"

namespace kv::ui {
namespace {

// The enabled states of controls, put back as they were.
class HeldControls {
  public:
    void Hold(QWidget* control) {
        widgets_.emplace_back(control, control->isEnabled());
        control->setEnabled(false);
    }
    void Hold(QAction* item) {
        actions_.emplace_back(item, item->isEnabled());
        item->setEnabled(false);
    }
    ~HeldControls() {
        for (auto& [control, enabled] : widgets_)
            if (control) control->setEnabled(enabled);
        for (auto& [item, enabled] : actions_)
            if (item) item->setEnabled(enabled);
    }

  private:
    std::vector<std::pair<QPointer<QWidget>, bool>> widgets_;
    std::vector<std::pair<QPointer<QAction>, bool>> actions_;
};

} // namespace

void Tfrm_CfgMux::RunTransfer(const std::function<void(const TransferTiming&)>& work) {
    HeldControls held;
    // The items first: disabling the Programs group disables the items that
    // mirror its buttons, and the state taken after that would be put back.
    for (QAction* item : {mn_Connect, mn_Disconnect, mn_Open, mn_Save, mn_Get, mn_Send, mn_Port->menuAction(),
                          mn_Devices, mn_Edit, mn_Ghost})
        held.Hold(item);
    for (QWidget* control : std::initializer_list<QWidget*>{grp_Program, bt_Connect, bt_Disconnect})
        held.Hold(control);
    transferRunning_ = true;
    lbl_Brimco->hide();
    prg_Transfer->setRange(0, 1);
    ShowTransferStep(QString(), 0);
    prg_Transfer->show();

    // Progress comes from the worker; it is shown on the GUI thread, and
    // only while this transfer runs.
    TransferTiming timing = app_.Timing;
    QPointer<Tfrm_CfgMux> window(this);
    timing.Progress = [window](const char* step, int records) {
        const QString text = QString::fromLatin1(step);
        QMetaObject::invokeMethod(
            window.data(),
            [window, text, records] {
                if (window && window->transferRunning_) window->ShowTransferStep(text, records);
            },
            Qt::QueuedConnection);
    };

    QEventLoop loop;
    QThread* worker = QThread::create([&work, &timing] { work(timing); });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;

    transferRunning_ = false;
    prg_Transfer->hide();
    lbl_Brimco->show();
}

void Tfrm_CfgMux::ShowTransferStep(const QString& step, int records) {
    if (records > prg_Transfer->maximum()) prg_Transfer->setMaximum(records);
    prg_Transfer->setValue(records);
    prg_Transfer->setFormat(step.isEmpty() ? QString() : step + QStringLiteral(": %v records"));
}

} // namespace kv::ui
