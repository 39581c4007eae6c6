#include "ui/kv2208_ghost.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ops/operator_messages.h"
#include "ui/fit_to_screen.h"
#include "ui/key_filter.h"
#include "ui/message_box.h"
#include "ui/multiplex_refusals.h"

using kv::Radix;

namespace {

constexpr int PidMaxLength = 4;
constexpr int ColInput = 0;
constexpr int ColPidIn = 1;
constexpr int ColPidOut = 2;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    // Enter belongs to the PID fields (it runs Add there), never to a default button.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakePidBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(PidMaxLength);
    box->setFixedWidth(60);
    return box;
}

} // namespace

Tfrm_CfgGhost::Tfrm_CfgGhost(kv::ConfigStore& store, std::function<void()> enableSendAndSave, QWidget* parent)
    : QDialog(parent), store_(store), enableSendAndSave_(std::move(enableSendAndSave)) {
    setObjectName(QStringLiteral("frm_CfgGhost"));
    setWindowTitle(kv::ui::AppTitle);
    setModal(true);
    BuildControls();

    connect(bt_Add, &QPushButton::clicked, this, &Tfrm_CfgGhost::bt_AddClick);
    connect(bt_Delete, &QPushButton::clicked, this, &Tfrm_CfgGhost::bt_DeleteClick);
    connect(bt_Clear, &QPushButton::clicked, this, &Tfrm_CfgGhost::bt_ClearClick);
    connect(bt_Exit, &QPushButton::clicked, this, &Tfrm_CfgGhost::bt_ExitClick);
    // A click on the selected row loads it again; keyboard moves load too.
    connect(lst_Ghost, &QTreeWidget::itemSelectionChanged, this, &Tfrm_CfgGhost::lst_GhostClick);
    connect(lst_Ghost, &QTreeWidget::itemClicked, this, &Tfrm_CfgGhost::lst_GhostClick);

    // Both PID fields take the keys of the chosen radix; Enter runs Add, every
    // other refused key is swallowed.
    auto admitted = [this](char32_t ch) { return kv::PidKeyAdmitted(ch, CurrentRadix()); };
    kv::ui::InstallKeyFilter(txt_PidInGhost, admitted, [this] { txt_PidInGhostKeyPress(); });
    kv::ui::InstallKeyFilter(txt_PidOutGhost, admitted, [this] { txt_PidInGhostKeyPress(); });
    // The input is chosen from the drop-down only (cb_InASIKeyPress).
    kv::ui::BlockTyping(cb_InASI);
    // Left by "Exit " or the close box, never by Escape: that would discard the rows.
    kv::ui::KeepOpenOnEscape(this);
}

void Tfrm_CfgGhost::BuildControls() {
    auto* grp_Ghost = new QGroupBox(QStringLiteral("Ghost"), this);
    grp_Ghost->setObjectName(QStringLiteral("grp_Ghost"));

    cb_InASI = new QComboBox(grp_Ghost);
    cb_InASI->setObjectName(QStringLiteral("cb_InASI"));
    for (int input = 1; input <= kv::InputCount; ++input) cb_InASI->addItem(QString::number(input));
    cb_InASI->setCurrentIndex(0);

    auto* grp_PidGhost = new QGroupBox(QStringLiteral(" PID Ghost "), grp_Ghost);
    grp_PidGhost->setObjectName(QStringLiteral("grp_PidGhost"));
    txt_PidInGhost = MakePidBox(grp_PidGhost, "txt_PidInGhost");
    txt_PidOutGhost = MakePidBox(grp_PidGhost, "txt_PidOutGhost");
    auto* lbl_In = new QLabel(QStringLiteral("In:"), grp_PidGhost);
    lbl_In->setObjectName(QStringLiteral("lbl_In"));
    lbl_In->setBuddy(txt_PidInGhost);
    auto* lbl_Out = new QLabel(QStringLiteral("Out:"), grp_PidGhost);
    lbl_Out->setObjectName(QStringLiteral("lbl_Out"));
    lbl_Out->setBuddy(txt_PidOutGhost);
    auto* pidLayout = new QFormLayout(grp_PidGhost);
    pidLayout->addRow(lbl_In, txt_PidInGhost);
    pidLayout->addRow(lbl_Out, txt_PidOutGhost);

    rdg_PidEdit = new QGroupBox(QStringLiteral(" PID Edit "), grp_Ghost);
    rdg_PidEdit->setObjectName(QStringLiteral("rdg_PidEdit"));
    radixButtons_ = new QButtonGroup(rdg_PidEdit);
    auto* radixLayout = new QVBoxLayout(rdg_PidEdit);
    auto* decimal = new QRadioButton(QStringLiteral("Decimal"), rdg_PidEdit);
    auto* hexadecimal = new QRadioButton(QStringLiteral("HexaDecimal"), rdg_PidEdit);
    radixButtons_->addButton(decimal, static_cast<int>(Radix::Decimal));
    radixButtons_->addButton(hexadecimal, static_cast<int>(Radix::Hexadecimal));
    radixLayout->addWidget(decimal);
    radixLayout->addWidget(hexadecimal);
    decimal->setChecked(true);

    lst_Ghost = new QTreeWidget(grp_Ghost);
    lst_Ghost->setObjectName(QStringLiteral("lst_Ghost"));
    lst_Ghost->setColumnCount(3);
    lst_Ghost->setHeaderLabels({QStringLiteral("IN"), QStringLiteral("PID IN"), QStringLiteral("PID OUT")});
    lst_Ghost->setRootIsDecorated(false);
    lst_Ghost->setItemsExpandable(false);
    lst_Ghost->setUniformRowHeights(true);
    lst_Ghost->setAllColumnsShowFocus(true);
    lst_Ghost->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_Ghost->setSelectionBehavior(QAbstractItemView::SelectRows);
    lst_Ghost->header()->setMinimumSectionSize(20);
    lst_Ghost->header()->setStretchLastSection(false);
    lst_Ghost->setColumnWidth(ColInput, 25);
    lst_Ghost->setColumnWidth(ColPidIn, 60);
    lst_Ghost->setColumnWidth(ColPidOut, 60);
    lst_Ghost->headerItem()->setTextAlignment(ColPidIn, Qt::AlignCenter);
    lst_Ghost->headerItem()->setTextAlignment(ColPidOut, Qt::AlignCenter);
    lst_Ghost->setMinimumWidth(25 + 60 + 60 + 24);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(cb_InASI);
    leftColumn->addWidget(grp_PidGhost);
    leftColumn->addWidget(rdg_PidEdit);
    leftColumn->addStretch();
    auto* ghostLayout = new QHBoxLayout(grp_Ghost);
    ghostLayout->addLayout(leftColumn);
    ghostLayout->addWidget(lst_Ghost, 1);

    bt_Add =
        MakeButton(this, "bt_Add", QStringLiteral("Add"), QStringLiteral("Insert item into Program list"));
    bt_Delete = MakeButton(this, "bt_Delete", QStringLiteral("Delete"), QStringLiteral("Delete item list"));
    bt_Clear = MakeButton(this, "bt_Clear", QStringLiteral("Clear"), QStringLiteral("Delete all item list"));
    bt_Exit = MakeButton(this, "bt_Exit", QStringLiteral("Exit "), QStringLiteral("Exit "));
    bt_Delete->setEnabled(false);
    bt_Clear->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bt_Add, bt_Delete, bt_Clear, bt_Exit}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grp_Ghost);
    layout->addLayout(buttons);
    resize(380, 300);
    kv::ui::FitToScreen(this);
}

void Tfrm_CfgGhost::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void Tfrm_CfgGhost::FormShow() {
    rows_.LoadFrom(store_.Ghost);
    lst_Ghost->clear();
    for (int j = 0; j < rows_.Count(); ++j) {
        lst_Ghost->addTopLevelItem(new QTreeWidgetItem);
        ShowRow(j);
    }
    // Rows listed at opening may still be re-entered in the other radix.
    if (rows_.Count() > 0) {
        SetListButtons(true);
        rdg_PidEdit->setEnabled(true);
    }
}

Radix Tfrm_CfgGhost::CurrentRadix() const {
    return radixButtons_->checkedId() == static_cast<int>(Radix::Hexadecimal) ? Radix::Hexadecimal
                                                                              : Radix::Decimal;
}

int Tfrm_CfgGhost::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = lst_Ghost->selectedItems();
    return selected.isEmpty() ? -1 : lst_Ghost->indexOfTopLevelItem(selected.first());
}

void Tfrm_CfgGhost::ShowRow(int index) {
    QTreeWidgetItem* item = lst_Ghost->topLevelItem(index);
    if (!item || index >= rows_.Count()) return;
    const kv::GhostRowTexts texts = kv::TextsOf(rows_.Rows()[static_cast<std::size_t>(index)]);
    item->setText(ColInput, QString::fromStdString(texts.Input));
    item->setText(ColPidIn, QString::fromStdString(texts.PidIn));
    item->setText(ColPidOut, QString::fromStdString(texts.PidOut));
    item->setTextAlignment(ColPidIn, Qt::AlignCenter);
    item->setTextAlignment(ColPidOut, Qt::AlignCenter);
}

void Tfrm_CfgGhost::ClearSelection() {
    lst_Ghost->setCurrentItem(nullptr);
    lst_Ghost->clearSelection();
}

void Tfrm_CfgGhost::SetListButtons(bool haveRows) {
    bt_Delete->setEnabled(haveRows);
    bt_Clear->setEnabled(haveRows);
}

void Tfrm_CfgGhost::bt_AddClick() {
    const Radix radix = CurrentRadix();
    if (kv::ui::RefuseTakenGhostPid(this, store_, rows_, SelectedRow(), cb_InASI->currentText().toInt(),
                                    txt_PidInGhost->text(), txt_PidOutGhost->text(), radix, txt_PidOutGhost))
        return;
    const kv::GhostAddOutcome outcome =
        rows_.Add(store_, SelectedRow(), cb_InASI->currentText().toInt(),
                  txt_PidInGhost->text().toStdString(), txt_PidOutGhost->text().toStdString(), radix);
    if (outcome.Refusal) {
        kv::ui::ShowWarning(this, QString::fromUtf8(outcome.Refusal));
        return;
    }
    if (!outcome.Replaced) lst_Ghost->addTopLevelItem(new QTreeWidgetItem);
    ShowRow(outcome.Row);
    // A decimal replacement ends the edit; a hexadecimal one keeps the row
    // selected so that the next Add replaces it again.
    if (outcome.Replaced && radix == Radix::Decimal) ClearSelection();
    SetListButtons(true);
    rdg_PidEdit->setEnabled(false);
    txt_PidInGhost->clear();
    txt_PidOutGhost->clear();
}

void Tfrm_CfgGhost::txt_PidInGhostKeyPress() {
    bt_AddClick();
    txt_PidInGhost->setFocus();
}

void Tfrm_CfgGhost::lst_GhostClick() {
    const int row = SelectedRow();
    if (row < 0) return;
    const QTreeWidgetItem* item = lst_Ghost->topLevelItem(row);
    // The PID fields admit no blanks: a decimal cell's padding is left out.
    cb_InASI->setCurrentText(item->text(ColInput).trimmed());
    txt_PidInGhost->setText(item->text(ColPidIn).trimmed());
    txt_PidOutGhost->setText(item->text(ColPidOut).trimmed());
}

void Tfrm_CfgGhost::bt_DeleteClick() {
    const int row = SelectedRow();
    // Text in PID IN without a chosen row removes nothing either.
    if (txt_PidInGhost->text().trimmed().isEmpty() || row < 0) {
        kv::ui::ShowWarning(this, QString::fromUtf8(kv::msg::ChooseItem));
        return;
    }
    rows_.Remove(row);
    delete lst_Ghost->takeTopLevelItem(row);
    ClearSelection();
    txt_PidInGhost->clear();
    txt_PidOutGhost->clear();
    if (rows_.Count() == 0) {
        SetListButtons(false);
        rdg_PidEdit->setEnabled(true);
    }
}

void Tfrm_CfgGhost::bt_ClearClick() {
    if (rows_.Count() == 0) {
        kv::ui::ShowWarning(this, QString::fromUtf8(kv::msg::ListEmpty));
        return;
    }
    if (!kv::ui::AskQuestion(this, QString::fromUtf8(kv::msg::AskDeleteAll))) return;
    // The store's table is emptied now, not at Exit.
    store_.Ghost.GhostCount = 0;
    cb_InASI->setCurrentIndex(0);
    rows_.Clear();
    lst_Ghost->clear();
    SetListButtons(false);
    rdg_PidEdit->setEnabled(true);
}

void Tfrm_CfgGhost::bt_ExitClick() {
    kv::GhostBlock& ghosts = store_.Ghost;
    rows_.WriteTo(ghosts);
    if (ghosts.GhostCount > 0 && enableSendAndSave_) enableSendAndSave_();
    accept();
}
