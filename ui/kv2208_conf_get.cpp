// "Get": the device plays its image back into the read-back file, the
// image is parsed into the store, and the window shows what was read.

#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <optional>
#include <vector>

#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "tables/image_file.h"
#include "ops/readback_display.h"
#include "tables/readback_parse.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

namespace kv::ui {

void Tfrm_CfgMux::bt_GetClick() {
    AppState& app = App();
    bool captured = false;
    ReadBackResult parsed; // a read-back file that cannot be read parses as no services
    const std::string problem = PrepareConfigFolder(app.AppFolder);
    if (problem.empty()) {
        WaitCursor wait;
        captured = app.Channel && ReceiveImage(*app.Channel, app.ReadBackFile, app.Timing) == 0;
        if (captured) {
            // Bounded read of untrusted device bytes; the parse checks every offset.
            if (const std::optional<std::vector<uint8_t>> image = ReadImageFile(app.ReadBackFile))
                parsed = ParseReadBack(*image, app.Store);
        }
    }
    if (!captured) {
        ShowWarning(this, QStringLiteral("Mux memory is empty!"),
                    QString::fromStdString(problem)); // nothing has changed
        return;
    }
    if (parsed.PatVersion >= 0) app.PatVersion = parsed.PatVersion;
    app.Saved.Mark(app.Store); // the store now holds what the device holds
    for (const std::string& message : parsed.Messages) ShowError(this, QString::fromStdString(message));
    ShowReadBack(DisplayAfterReadBack(app.Store, parsed));
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
        bt_Save->setEnabled(true);
        bt_Send->setEnabled(true);
    }
}

} // namespace kv::ui
