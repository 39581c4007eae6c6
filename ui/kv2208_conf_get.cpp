// "Get": the device plays its image back into the read-back file, the
// image is parsed into the store, and the window shows what was read.

#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include "link/serial_channel.h"
#include "link/stop_request.h"
#include "ops/get_from_device.h"
#include "ops/operator_messages.h"
#include "ops/transfer_explanations.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"

namespace kv::ui {

void Tfrm_CfgMux::bt_GetClick() {
    if (transferRunning_) return;
    const DeviceFiles files{app_.AppFolder, app_.ImageFile, app_.ReadBackFile};
    SerialChannel* channel = app_.Channel.get();
    CaptureResult capture;
    TransferNotes notes;
    RunTransfer([&](const TransferTiming& timing) {
        TransferTiming noted = timing;
        noted.Notes = &notes;
        capture = CaptureFromDevice(channel, files, noted);
    });
    if (StopRequested()) return; // the program is ending
    if (!capture.Captured) {
        const std::string detail =
            capture.Problem.empty()
                ? ExplainCaptureFailure(notes, channel && !channel->Connected(), app_.Timing.SilenceMs)
                : capture.Problem;
        ShowWarning(this, QString::fromLatin1(msg::MuxMemoryEmpty),
                    QString::fromStdString(detail)); // nothing has changed
        return;
    }
    const ReadBackOutcome read = ReadBackIntoStore(app_.Store, app_.ReadBackFile);
    if (read.Parsed.PatVersion >= 0) app_.PatVersion = read.Parsed.PatVersion;
    app_.Saved.Mark(app_.Store); // the store now holds what the device holds
    for (const std::string& message : read.Parsed.Messages) ShowError(this, QString::fromStdString(message));
    ShowReadBack(read.Shown);
}

void Tfrm_CfgMux::ShowReadBack(const ReadBackDisplay& shown) {
    ShowRate(shown.BitRate, shown.PackMode);
    if (shown.HasServices) {
        SetTextWhole(txt_NetName,
                     QString::fromLatin1(shown.NetName.data(), static_cast<qsizetype>(shown.NetName.size())));
        SetTextWhole(txt_TSID, QString::fromStdString(shown.TsIdText));
        lst_Prog->clear();
        AppendServiceNames();
        SetContentButtons(true, true);
    } else {
        // The device holds no services: neither does the window.
        lst_Prog->clear();
        SetContentButtons(false, true);
    }
}

} // namespace kv::ui
