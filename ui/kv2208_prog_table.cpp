// The service table of the editor: one row per stored service in slot
// order, a row click loading the service back into the boxes, Delete and
// Clear.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "model/store_ops.h"
#include "ops/operator_messages.h"
#include "ui/box_text.h"
#include "ui/kv2208_prog.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Cell(int value, Radix radix) {
    return Text(FormatCell(value, radix));
}

// The output PIDs of a service in the table's order: video before PCR, then
// audio 1 to 4 and data 1 and 2.
QStringList StreamCells(const ServicePids& p, Radix radix) {
    const auto streams = StreamsOf(p);
    QStringList cells = {Cell(streams[StreamIndex(StreamKind::Video, 0)].PidOut, radix),
                         Cell(streams[StreamIndex(StreamKind::Pcr, 0)].PidOut, radix)};
    for (const ConstStreamRef& s : streams)
        if (s.Kind == StreamKind::Audio || s.Kind == StreamKind::Data) cells << Cell(s.PidOut, radix);
    return cells;
}

// The texts of one row: the caption and the thirteen cells of slot `s`.
QStringList RowTexts(const ServiceBlock& sb, int row, int s, Radix radix) {
    const ServicePids& p = sb.SvcPids[s];
    return QStringList{
               QString::number(row + 1),
               // The network name at the moment the row is written, not the slot's provider.
               StoreText(sb.NetName, sizeof sb.NetName).trimmed(),
               StoreText(sb.SvcInfo[s].Name, sizeof sb.SvcInfo[s].Name).trimmed(),
               QString::asprintf("%hd", sb.SvcInput[s]),
               Cell(p.ServiceId, radix),
               Cell(sb.SvcPmtPid[s], radix),
           } +
           StreamCells(p, radix);
}

} // namespace

int Tfrm_CfgProg::RowCount() const {
    return lst_Progs->rowCount();
}

std::optional<int> Tfrm_CfgProg::SelectedRow() const {
    const QModelIndexList rows = lst_Progs->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return rows.first().row();
}

void Tfrm_CfgProg::ClearRowSelection() {
    lst_Progs->clearSelection();
    lst_Progs->setCurrentIndex(QModelIndex());
}

void Tfrm_CfgProg::ShowServiceRow(int slot, bool found) {
    if (slot < 0 || slot >= MaxServices) return;
    std::optional<int> target = found ? std::optional<int>(slot) : SelectedRow();
    if (target && *target >= RowCount()) target.reset();
    if (!target) {
        lst_Progs->insertRow(RowCount());
        FillRow(RowCount() - 1, slot);
        return;
    }
    FillRow(*target, slot);
    ClearRowSelection();
}

void Tfrm_CfgProg::FillRow(int row, int slot) {
    const QStringList texts = RowTexts(store_.Svc, row, slot, CurrentRadix());
    for (int c = 0; c < texts.size() && c < ProgTableColumnCount(); ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setTextAlignment(ProgTableAlignment(c));
        lst_Progs->setItem(row, c, item);
    }
}

// Every stored service again, rows numbered from 1.
void Tfrm_CfgProg::RebuildRows() {
    lst_Progs->setRowCount(0);
    ClearRowSelection();
    const int count = std::clamp<int>(store_.Svc.SvcCount, 0, MaxServices);
    for (int i = 0; i < count; ++i) ShowServiceRow(i, false);
}

void Tfrm_CfgProg::lst_ProgsClick() {
    const std::optional<int> row = SelectedRow();
    if (!row || RowCount() == 0) return;
    const QTableWidgetItem* caption = lst_Progs->item(*row, 0);
    const int s = (caption ? caption->text().toInt() : 0) - 1;
    if (s < 0 || s >= std::min<int>(store_.Svc.SvcCount, MaxServices)) return;

    const ServiceBlock& sb = store_.Svc;
    const ServicePids& p = sb.SvcPids[s];
    SelectNameOf(s, *row);
    // A stored input outside 1..8 leaves the input list blank.
    cb_InAsi->setCurrentIndex(cb_InAsi->findText(QString::asprintf("%hd", sb.SvcInput[s])));
    ckb_Pcr->setChecked(p.PcrAdjust != 0);
    const auto streams = StreamsOf(p);
    for (std::size_t k = 0; k < streams.size(); ++k) {
        QComboBox* list = streamBoxes_[k].Type;
        if (list && streams[k].Type)
            list->setCurrentIndex(*streams[k].Type < list->count() ? *streams[k].Type : -1);
    }
    SetBoxText(txt_ServiceID, FormatServiceIdForBox(p.ServiceId));
    ckb_Present->setChecked(sb.SvcInfo[s].EitPresent != 0);
    ckb_Schedule->setChecked(sb.SvcInfo[s].EitSchedule != 0);
    ckb_genPMT->setChecked(p.GenPmt != 0);

    // Each output box after its input box, so the stored output PID stays
    // shown also while "Rep Out" is ticked.
    const Radix radix = CurrentRadix();
    auto show = [this, radix](QLineEdit* box, int16_t pid) {
        SetBoxText(box, BlankIfNone(FormatPidForBox(pid, radix)));
    };
    show(txt_PidPmt, p.PmtPid);
    for (std::size_t k = 0; k < streams.size(); ++k) {
        show(streamBoxes_[k].In, streams[k].PidIn);
        show(streamBoxes_[k].Out, streams[k].PidOut);
    }
}

// The name list shows the service's own name; the name at the row's
// position stands in when the program list does not hold that name.
void Tfrm_CfgProg::SelectNameOf(int slot, int row) {
    const ServiceInfo& info = store_.Svc.SvcInfo[slot];
    const QString name = StoreText(info.Name, sizeof info.Name).trimmed();
    for (int i = 0; i < cb_NameProg->count(); ++i) {
        if (cb_NameProg->itemText(i).trimmed() == name) {
            cb_NameProg->setCurrentIndex(i);
            return;
        }
    }
    if (row < cb_NameProg->count()) cb_NameProg->setCurrentIndex(row);
}

void Tfrm_CfgProg::bt_DeleteClick() {
    const std::optional<int> row = SelectedRow();
    const StreamBoxes& pcr = BoxesOf(StreamKind::Pcr);
    const bool noPids = txt_PidPmt->text().trimmed().isEmpty() && pcr.In->text().trimmed().isEmpty() &&
                        pcr.Out->text().trimmed().isEmpty();
    if (noPids || !row) {
        ShowWarning(this, QString::fromUtf8(msg::ChooseItem));
        return;
    }
    ServiceBlock& sb = store_.Svc;
    DeleteService(sb, *row, sb.SvcCount);
    RebuildRows();
    ClearServiceFields();
    if (RowCount() == 0) {
        SetListButtons(false);
        rdg_PidEdit->setEnabled(true);
    }
}

void Tfrm_CfgProg::bt_ClearClick() {
    if (RowCount() == 0) {
        ShowWarning(this, QString::fromUtf8(msg::ListEmpty));
        return;
    }
    if (!AskQuestion(this, QString::fromUtf8(msg::AskDeleteAll))) return;
    store_.Svc.SvcCount = 0;
    cb_NameProg->setCurrentIndex(cb_NameProg->count() > 0 ? 0 : -1);
    cb_InAsi->setCurrentIndex(0);
    lst_Progs->setRowCount(0);
    SetListButtons(false);
    rdg_PidEdit->setEnabled(true);
}

} // namespace kv::ui
