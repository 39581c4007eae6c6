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

#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "ops/service_entry.h"
#include "tables/image_writer.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/devices.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"
#include "ui/multiplex_refusals.h"
#include "ui/port_file.h"
#include "ui/wait_cursor.h"

namespace kv::ui {
namespace {

// The range warning of the chosen mode, as leaving the bit-rate box gives it
// for a rate below the range (1 bit/s is below it in both modes).
std::string RangeWarning(bool byteMode) {
    ConfigStore scratch{};
    return ApplyBitRateEntry(scratch, "1", byteMode).Warning;
}

} // namespace

// Reading the port file is all activation does.
void Tfrm_CfgMux::FormActivate() {
    AppState& app = App();
    const PortFileContent content = ReadPortFile(app.PortFile);
    if (!content.Opened) {
        app.ComPort = 0;
        return;
    }
    if (content.Port) app.ComPort = *content.Port;
    if (app.ComPort >= 1 && app.ComPort <= 9) mn_PortItems[app.ComPort - 1]->setChecked(true);
    ShowPort(true);
}

void Tfrm_CfgMux::mn_1Click(QAction* chosen) {
    for (QAction* item : mn_PortItems) item->setChecked(false);
    chosen->setChecked(true);
    for (int n = 0; n < 9; ++n) {
        if (mn_PortItems[n]->isChecked()) {
            App().ComPort = static_cast<int16_t>(n + 1);
            break;
        }
    }
    ShowPort(false);
    // The choice is kept for the next start; when it cannot be, the operator
    // learns where and why.
    std::string problem = PrepareConfigFolder(App().AppFolder);
    if (problem.empty() && !WritePortFile(App().PortFile, App().ComPort))
        problem = CannotWriteMessage(App().PortFile, errno);
    if (!problem.empty()) ShowError(this, QString::fromStdString(problem));
}

void Tfrm_CfgMux::mn_DevicesClick() {
    Tfrm_Devices devices(App().AppFolder, this);
    devices.exec();
}

void Tfrm_CfgMux::bt_ConnectClick() {
    // On failure the channel has shown its message already.
    if (!App().Channel->Open(App().ComPort)) return;
    SetConnectedControls(true);
    lbl_Status->setText(QStringLiteral("Connected!"));
}

void Tfrm_CfgMux::bt_DisconnectClick() {
    if (!MayLoseUnsavedWork()) return;
    AppState& app = App();
    if (app.Channel->Connected()) app.Channel->Close();
    lst_Prog->clear();
    app.Store.Svc.SvcCount = 0;
    app.Store.Svc.TsId = 0;
    app.Saved.MarkServices(app.Store.Svc); // the operator let them go
    for (QLineEdit* box : {txt_NameProg, txt_NetName, txt_TSID, txt_BitRate}) SetTextWhole(box, QString());
    SetContentButtons(false, false);
    SetConnectedControls(false);
    lbl_Status->setText(QStringLiteral("Disconnected!"));
}

void Tfrm_CfgMux::bt_SendClick() {
    AppState& app = App();
    if (!app.Channel->Connected()) {
        ShowError(this, QStringLiteral("Sem comunicação serial."));
        return;
    }

    // The typed rate becomes the effective rate and the pacing table. A rate
    // the device cannot be paced at, an empty box or 0 included, is refused
    // before anything is sent: the image would carry a pacing table that
    // does not belong to the box.
    const BitRateEntry entry = ApplyBitRateBox();
    if (entry.outcome != BitRateEntry::Outcome::Applied) {
        const std::string warning =
            entry.outcome == BitRateEntry::Outcome::OutOfRange ? entry.Warning : RangeWarning(ByteModeChosen());
        ShowWarning(this, QString::fromStdString(warning));
        return;
    }
    const int64_t shownRate = AtolText(txt_BitRate->text().toStdString());
    app.Store.Svc.BitRate = shownRate;
    app.Store.Ghost.GhostBitRate = shownRate;
    app.Store.Svc.TsId = static_cast<uint16_t>(AtolText(txt_TSID->text().toStdString()));
    WriteNetName(app.Store.Svc, txt_NetName->text().toLatin1().toStdString()); // the name the NIT carries

    if (const std::optional<std::string> refusal = ImageLimitViolation(app.Store)) {
        ShowWarning(this, QString::fromStdString(*refusal));
        return;
    }
    if (!ConfirmSendDespiteErrors(this, app.Store)) return;
    app.PatVersion = (app.PatVersion + 1) & 0x1F;

    // An image file that cannot be written is result 1, with its reason.
    const std::string problem = PrepareConfigFolder(app.AppFolder);
    int result = problem.empty() ? 0 : 1;
    if (result == 0) {
        WaitCursor wait;
        SerialChannel& channel = *app.Channel;
        const TransferTiming& timing = app.Timing;
        result = WriteConfigImage(app.Store, app.PatVersion, app.ImageFile, app.ReadBackFile,
                                  [&channel, &timing](const std::string& image, const std::string& readBack) {
                                      return TransferAndVerify(channel, image, readBack, timing);
                                  });
    }
    if (result == 0) {
        app.Saved.Mark(app.Store);
        ShowInformation(this, QStringLiteral("Process successful!"));
    } else {
        ShowError(this, QStringLiteral("Error %1").arg(result), QString::fromStdString(problem));
    }
}

} // namespace kv::ui
