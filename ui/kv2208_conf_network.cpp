// The network settings: which keys the bit-rate and transport-stream-ID boxes
// admit, and what leaving them does to the store.

#include <QLineEdit>
#include <QRadioButton>

#include "ops/bit_rate_entry.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/key_filter.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

// txt_SymbRateKeyPress: digits, the two separators and backspace.
bool BitRateKeyAdmitted(char32_t c) {
    return DigitKeyAdmitted(c) || c == '.' || c == ',';
}

} // namespace

void Tfrm_CfgMux::InstallNetworkFilters() {
    InstallKeyFilter(txt_BitRate, BitRateKeyAdmitted);
    InstallKeyFilter(txt_TSID, DigitKeyAdmitted); // txt_TSIDKeyPress
    OnFocusExit(txt_BitRate, [this] { txt_BitRateExit(); });
    OnFocusExit(txt_TSID, [this] { txt_TSIDExit(); });
}

bool Tfrm_CfgMux::ByteModeChosen() const {
    return rdg_ModeByte->isChecked();
}

void Tfrm_CfgMux::txt_TSIDExit() {
    app_.Store.Svc.TsId = static_cast<uint16_t>(AtolText(txt_TSID->text().toStdString()));
}

// The warning of a rate out of range does not hold the focus: it opens once
// the focus has moved on.
void Tfrm_CfgMux::txt_BitRateExit() {
    const kv::BitRateEntry entry = ApplyBitRateBox();
    if (entry.outcome == kv::BitRateEntry::Outcome::OutOfRange) {
        const QString warning = QString::fromStdString(entry.Warning);
        QMetaObject::invokeMethod(
            this, [this, warning] { ShowWarning(this, warning); }, Qt::QueuedConnection);
    }
}

kv::BitRateEntry Tfrm_CfgMux::ApplyBitRateBox() {
    kv::BitRateEntry entry =
        ApplyBitRateEntry(app_.Store, txt_BitRate->text().toStdString(), ByteModeChosen());
    if (entry.outcome == kv::BitRateEntry::Outcome::Applied)
        SetTextWhole(txt_BitRate, QString::number(entry.EffectiveRate));
    return entry;
}

} // namespace kv::ui
