// The service editor's opening and closing, "Ok", the name choice, the
// subtitle buttons and the rules of its number boxes.

#include "ui/kv2208_prog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "ui/box_text.h"
#include "ui/centre_on_desktop.h"
#include "ui/fit_to_screen.h"
#include "ui/fixed_dialog.h"
#include "ui/key_filter.h"
#include "ui/message_box.h"
#include "ui/multiplex_refusals.h"
#include "ui/subtitle.h"

namespace kv::ui {
namespace {

std::string BoxText(const QLineEdit* box) {
    return box->text().toLatin1().toStdString();
}

} // namespace

Tfrm_CfgProg::Tfrm_CfgProg(ConfigStore& store, ProgEditorHost host, QWidget* parent)
    : QDialog(parent), store_(store), host_(std::move(host)) {
    SetUpFixedDialog(this, QStringLiteral("frm_CfgProg"));
    BuildControls();
    FitToScreen(this);
    InstallBoxRules();
    ConnectHandlers();
    // Left by "Exit" or the close box, never by Escape: that would discard the entry.
    KeepOpenOnEscape(this);
}

void Tfrm_CfgProg::ConnectHandlers() {
    // A name picked by the operator (not one the editor selects itself).
    connect(cb_NameProg, &QComboBox::activated, this, &Tfrm_CfgProg::cb_NameProgClick);
    connect(bt_Ok, &QToolButton::clicked, this, &Tfrm_CfgProg::bt_OkClick);
    connect(bt_Exit, &QToolButton::clicked, this, &Tfrm_CfgProg::bt_ExitClick);
    connect(bt_Delete, &QToolButton::clicked, this, &Tfrm_CfgProg::bt_DeleteClick);
    connect(bt_Clear, &QToolButton::clicked, this, &Tfrm_CfgProg::bt_ClearClick);
    connect(bt_Sub1, &QPushButton::clicked, this, &Tfrm_CfgProg::bt_Sub1Click);
    connect(bt_Sub2, &QPushButton::clicked, this, &Tfrm_CfgProg::bt_Sub2Click);
    connect(lst_Progs, &QTableWidget::clicked, this, &Tfrm_CfgProg::lst_ProgsClick);
}

const Tfrm_CfgProg::StreamBoxes& Tfrm_CfgProg::BoxesOf(StreamKind kind, int slot) const {
    return streamBoxes_[static_cast<std::size_t>(StreamIndex(kind, slot))];
}

void Tfrm_CfgProg::InstallBoxRules() {
    // The seven lists are chosen from, never typed into (cb_NameProgKeyPress).
    // The 17 PID boxes take the keys of the radix chosen at the moment of the
    // key (txt_FreqKeyPress). The Service ID box, read as a decimal number in
    // both radixes, takes digits only.
    BlockTyping(cb_NameProg);
    BlockTyping(cb_InAsi);
    const CharRule admitted = [this](char32_t ch) { return PidKeyAdmitted(ch, CurrentRadix()); };
    InstallKeyFilter(txt_PidPmt, admitted);
    InstallKeyFilter(txt_ServiceID, DigitKeyAdmitted);

    // Leaving the PMT box, or the Service ID box, checks the PMT box; leaving
    // an output box checks that box. Input boxes have no check.
    OnFocusExit(txt_PidPmt, [this] { txt_PidPmtExit(); });
    OnFocusExit(txt_ServiceID, [this] { txt_PidPmtExit(); });

    for (const StreamBoxes& stream : streamBoxes_) {
        QLineEdit* in = stream.In;
        QLineEdit* out = stream.Out;
        if (stream.Type) BlockTyping(stream.Type);
        InstallKeyFilter(in, admitted);
        InstallKeyFilter(out, admitted);
        OnFocusExit(out, [this, out] { txt_PidOutExit(out); });
        // "Rep Out": every change of an input box, typed or set by the editor.
        connect(in, &QLineEdit::textChanged, this, [this, in, out] { txt_PidVidInChange(in, out); });
    }
}

void Tfrm_CfgProg::txt_PidPmtExit() {
    txt_PidOutExit(txt_PidPmt);
}

void Tfrm_CfgProg::txt_PidOutExit(QLineEdit* box) {
    if (PidExitWarns(BoxText(box), CurrentRadix())) ShowWarning(this, QString::fromLatin1(PidRangeWarning));
}

void Tfrm_CfgProg::txt_PidVidInChange(QLineEdit* in, QLineEdit* out) {
    if (ckb_Duplicate->isChecked()) SetTextWhole(out, in->text());
}

void Tfrm_CfgProg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    CentreOnDesktop(this);
    FormShow();
}

void Tfrm_CfgProg::FormShow() {
    cb_NameProg->clear();
    cb_NameProg->addItems(host_.ProgramNames);
    cb_NameProg->setCurrentIndex(host_.ProgramNames.isEmpty() ? -1 : 0);
    if (store_.Svc.SvcCount > 0) {
        RebuildRows();
        rdg_PidEdit->setEnabled(false);
    }
    SetListButtons(true);
}

Radix Tfrm_CfgProg::CurrentRadix() const {
    return radixButtons_->checkedId() == static_cast<int>(Radix::Hexadecimal) ? Radix::Hexadecimal
                                                                              : Radix::Decimal;
}

ServiceEntry Tfrm_CfgProg::ReadEntry() const {
    ServiceEntry e;
    e.Name = cb_NameProg->currentText().toLatin1().toStdString();
    e.Input = cb_InAsi->currentText().toInt(); // a blank input reads as 0, as stored
    e.ServiceId = BoxText(txt_ServiceID);
    e.PmtPid = BoxText(txt_PidPmt);
    const auto streams = EntryStreams(e);
    for (std::size_t k = 0; k < streams.size(); ++k) {
        const StreamBoxes& boxes = streamBoxes_[k];
        streams[k].In = BoxText(boxes.In);
        streams[k].Out = BoxText(boxes.Out);
        if (boxes.Type && streams[k].Type) *streams[k].Type = std::max(boxes.Type->currentIndex(), 0);
    }
    e.PcrAdjust = ckb_Pcr->isChecked();
    e.GenPmt = ckb_genPMT->isChecked();
    e.EitPresent = ckb_Present->isChecked();
    e.EitSchedule = ckb_Schedule->isChecked();
    return e;
}

void Tfrm_CfgProg::bt_OkClick() {
    ConfigStore& store = store_;
    const ServiceEntry entry = ReadEntry();
    const EntryCheck check = CheckServiceEntry(store, entry, RowCount(), SelectedRow());
    if (check.Refusal != EntryRefusal::None) {
        ShowWarning(this, QString::fromLatin1(RefusalMessage(check.Refusal)));
        return;
    }
    // A bad output PID would be stored as absent: the stream would leave the
    // PMT and the PID map without a word.
    const Radix radix = CurrentRadix();
    if (const std::optional<int> bad = FirstBadOutputPid(entry, radix)) {
        ShowWarning(this, QString::fromLatin1(PidRangeWarning));
        streamBoxes_.at(static_cast<std::size_t>(*bad)).Out->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (const std::optional<int> bad = FirstBadInputPid(entry, radix)) {
        ShowWarning(this, QString::fromLatin1(PidRangeWarning));
        streamBoxes_.at(static_cast<std::size_t>(*bad)).In->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (RefuseTakenServicePid(this, store, entry, radix, check.Slot, [this](int box) {
            return box < 0 ? txt_PidPmt : streamBoxes_.at(static_cast<std::size_t>(box)).Out;
        }))
        return;
    const std::optional<std::string> question =
        ReplaceQuestionFor(store.Svc, entry, check.Slot, SelectedRow());
    if (question && !AskQuestion(this, QString::fromLatin1(*question))) return;
    if (PidFromText(entry.PmtPid, radix) == PidNone) {
        ShowError(this, QString::fromLatin1(PmtIncorrectMessage));
        return;
    }
    StoreServiceEntry(store.Svc, entry, radix, check.Slot, host_.NetName.toLatin1().toStdString());
    ShowServiceRow(check.Slot.Idx, check.Slot.Found);
    SetListButtons(true);
    rdg_PidEdit->setEnabled(false);
}

void Tfrm_CfgProg::cb_NameProgClick() {
    ClearServiceFields();
    const ServiceSlot slot = FindServiceByName(
        store_.Svc, cb_NameProg->currentText().toLatin1().toStdString(), RowCount(), SelectedRow());
    if (!slot.Found) return;
    lst_Progs->selectRow(slot.Idx);
    lst_ProgsClick();
}

void Tfrm_CfgProg::ClearServiceFields() {
    ckb_Present->setChecked(false);
    ckb_Schedule->setChecked(false);
    txt_ServiceID->clear();
    txt_PidPmt->clear();
    for (const StreamBoxes& stream : streamBoxes_) {
        stream.In->clear();
        stream.Out->clear();
        // Audio 3 and 4 keep their types, as do the input, the flags and the radix.
        const bool keepsType = stream.Kind == StreamKind::Audio && stream.Slot >= 2;
        if (stream.Type && !keepsType) stream.Type->setCurrentIndex(0);
    }
}

void Tfrm_CfgProg::bt_ExitClick() {
    if (store_.Svc.SvcCount > 0 && host_.EnableSend) host_.EnableSend();
    accept();
}

void Tfrm_CfgProg::bt_Sub1Click() {
    EditSubtitle(0);
}

void Tfrm_CfgProg::bt_Sub2Click() {
    EditSubtitle(1);
}

// The "..." buttons edit the data stream of the chosen name's slot; a slot
// beyond the store's 100 services is shown but never written.
void Tfrm_CfgProg::EditSubtitle(int dataIndex) {
    ServiceBlock& sb = store_.Svc;
    const std::optional<int> slot =
        SubtitleSlotFor(sb, cb_NameProg->currentText().toLatin1().toStdString(), RowCount());
    DataSlot unused{};
    RunSubtitleDialog(this, slot ? sb.SvcPids[*slot].Data[dataIndex] : unused);
}

void Tfrm_CfgProg::SetListButtons(bool enabled) {
    bt_Delete->setEnabled(enabled);
    bt_Clear->setEnabled(enabled);
}

void Tfrm_CfgProg::SetBoxText(QLineEdit* box, const std::string& text) {
    SetTextWhole(box, QString::fromStdString(text));
}

} // namespace kv::ui
