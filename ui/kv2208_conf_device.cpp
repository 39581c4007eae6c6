// Device operations of the main window: the port file and the port menu,
// Connect, Disconnect and "Send Mux".

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <cerrno>
#include <memory>

#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"
#include "ops/send_mux.h"
#include "ops/transfer_explanations.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/devices.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"
#include "ui/multiplex_refusals.h"
#include "ui/port_file.h"

namespace kv::ui {

// Reading the port file is all activation does.
void Tfrm_CfgMux::FormActivate() {
    const PortFileContent content = ReadPortFile(app_.PortFile);
    if (!content.Opened) {
        app_.ComPort = 0;
        return;
    }
    if (content.Port) app_.ComPort = *content.Port;
    if (app_.ComPort >= 1 && app_.ComPort <= 9) mn_PortItems[app_.ComPort - 1]->setChecked(true);
    ShowPort(true);
}

void Tfrm_CfgMux::mn_1Click(QAction* chosen) {
    for (QAction* item : mn_PortItems) item->setChecked(false);
    chosen->setChecked(true);
    for (int n = 0; n < 9; ++n) {
        if (mn_PortItems[n]->isChecked()) {
            app_.ComPort = static_cast<int16_t>(n + 1);
            break;
        }
    }
    ShowPort(false);
    // The choice is kept for the next start; when it cannot be, the operator
    // learns where and why.
    std::string problem = PrepareConfigFolder(app_.AppFolder);
    if (problem.empty() && !WritePortFile(app_.PortFile, app_.ComPort))
        problem = CannotWriteMessage(app_.PortFile, errno);
    if (!problem.empty()) ShowError(this, QString::fromStdString(problem));
}

void Tfrm_CfgMux::mn_DevicesClick() {
    Tfrm_Devices devices(app_.AppFolder, this);
    devices.exec();
}

void Tfrm_CfgMux::bt_ConnectClick() {
    // On failure the channel has shown its message already.
    if (!app_.Channel->Open(app_.ComPort)) return;
    SetConnectedControls(true);
    lbl_Status->setText(QStringLiteral("Connected!"));
}

void Tfrm_CfgMux::bt_DisconnectClick() {
    if (!MayLoseUnsavedWork()) return;
    if (app_.Channel->Connected()) app_.Channel->Close();
    lst_Prog->clear();
    app_.Store.Svc.SvcCount = 0;
    app_.Store.Svc.TsId = 0;
    app_.Saved.MarkServices(app_.Store.Svc); // the operator let them go
    for (QLineEdit* box : {txt_NameProg, txt_NetName, txt_TSID, txt_BitRate}) SetTextWhole(box, QString());
    SetContentButtons(false, false);
    SetConnectedControls(false);
    lbl_Status->setText(QStringLiteral("Disconnected!"));
}

void Tfrm_CfgMux::bt_SendClick() {
    if (transferRunning_) return;
    if (!app_.Channel->Connected()) {
        ShowError(this, QString::fromUtf8(msg::NoSerialLink));
        return;
    }

    const SendMuxCheck check =
        PrepareSendMux(app_.Store, {.RateText = txt_BitRate->text().toStdString(),
                                    .ByteMode = ByteModeChosen(),
                                    .TsIdText = txt_TSID->text().toStdString(),
                                    .NetName = txt_NetName->text().toLatin1().toStdString()});
    if (check.ShownRate) SetTextWhole(txt_BitRate, QString::number(*check.ShownRate));
    if (check.outcome != SendMuxCheck::Outcome::Ready) {
        ShowWarning(this, QString::fromStdString(check.Warning));
        return;
    }
    if (!ConfirmSendDespiteErrors(this, app_.Store)) return;
    app_.PatVersion = NextPatVersion(app_.PatVersion);

    // The worker builds from a copy: the store stays the GUI thread's.
    const auto sent = std::make_shared<const ConfigStore>(app_.Store);
    const DeviceFiles files{app_.AppFolder, app_.ImageFile, app_.ReadBackFile};
    SerialChannel* channel = app_.Channel.get();
    const int patVersion = app_.PatVersion;
    SendMuxResult result;
    TransferNotes notes;
    RunTransfer([&](const TransferTiming& timing) {
        TransferTiming noted = timing;
        noted.Notes = &notes;
        result = SendMuxImage(*sent, patVersion, files, channel, noted);
    });
    if (result.Result == TransferResult::Interrupted) return; // the program is ending
    if (result.Result == TransferResult::Ok) {
        app_.Saved.Mark(*sent);
        ShowInformation(this, QString::fromLatin1(msg::ProcessSuccessful));
    } else {
        const std::string detail = result.Problem.empty()
                                       ? ExplainTransferResult(result.Result, notes, app_.Timing.SilenceMs)
                                       : result.Problem;
        ShowError(this, QString::fromStdString(msg::TransferError(ResultCode(result.Result))),
                  QString::fromStdString(detail));
    }
}

} // namespace kv::ui
