#include "ui/subtitle.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "model/language_list.h"
#include "ui/fit_to_screen.h"
#include "ui/fixed_dialog.h"

namespace kv::ui {
namespace {

QString FirstWordOf(const QString& itemText) {
    return itemText.section(QLatin1Char(' '), 0, 0);
}

// A list as wide as `characters` characters whose drop-down shows whole items.
void FitList(QComboBox* list, int characters) {
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(characters);
    list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
}

} // namespace

Tfrm_Subtitle::Tfrm_Subtitle(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(this, QStringLiteral("frm_Subtitle"));
    BuildControls();

    connect(chk_SubtitleEnable, &QCheckBox::toggled, this, &Tfrm_Subtitle::chk_SubtitleEnableClick);
    connect(cb_LanguageCode, &QComboBox::currentTextChanged, this, &Tfrm_Subtitle::cb_LanguageCodeChange);
    connect(cb_SubtitleType, &QComboBox::currentTextChanged, this, &Tfrm_Subtitle::cb_SubtitleTypeChange);
    connect(dataTypeButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) rdg_DataTypeClick();
    });
    connect(bt_Ok, &QPushButton::clicked, this, &Tfrm_Subtitle::bt_OkClick);
    connect(bt_Cancel, &QPushButton::clicked, this, &Tfrm_Subtitle::bt_CancelClick);
}

void Tfrm_Subtitle::BuildControls() {
    grp_Subtitle = Named(new QGroupBox(QStringLiteral(" Subtitle "), this), QStringLiteral("grp_Subtitle"));

    grp_SubtitleEnable = Named(new QGroupBox(grp_Subtitle), QStringLiteral("grp_SubtitleEnable"));
    chk_SubtitleEnable = Named(new QCheckBox(QStringLiteral("Subtitle Enable"), grp_SubtitleEnable),
                               QStringLiteral("chk_SubtitleEnable"));
    auto* enableRow = new QHBoxLayout(grp_SubtitleEnable);
    enableRow->addWidget(chk_SubtitleEnable);
    enableRow->addStretch();

    lbl_LanguageCode = Named(new QLabel(QStringLiteral("Language Code: "), grp_Subtitle),
                             QStringLiteral("lbl_LanguageCode"));
    cb_LanguageCode = Named(new QComboBox(grp_Subtitle), QStringLiteral("cb_LanguageCode"));
    cb_LanguageCode->setEditable(true); // the operator may also type a language
    cb_LanguageCode->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : LanguageItems()) cb_LanguageCode->addItem(QString::fromUtf8(item));
    cb_LanguageCode->setCurrentIndex(DefaultLanguageIndex);
    cb_LanguageCode->setMaxVisibleItems(16);
    FitList(cb_LanguageCode, 44);
    lbl_Language = Named(new QLabel(grp_Subtitle), QStringLiteral("lbl_Language"));

    lbl_SubtitleType =
        Named(new QLabel(QStringLiteral("Type: "), grp_Subtitle), QStringLiteral("lbl_SubtitleType"));
    cb_SubtitleType = Named(new QComboBox(grp_Subtitle), QStringLiteral("cb_SubtitleType"));
    for (const char* item : SubtitleTypeItems()) cb_SubtitleType->addItem(QString::fromLatin1(item));
    cb_SubtitleType->setCurrentIndex(DefaultSubtitleTypeIndex);
    FitList(cb_SubtitleType, 44);
    lbl_Subtitle = Named(new QLabel(grp_Subtitle), QStringLiteral("lbl_Subtitle"));

    for (QLabel* code : {lbl_Language, lbl_Subtitle}) {
        code->setAlignment(Qt::AlignCenter);
        code->setMinimumWidth(64);
        code->setFrameShape(QFrame::StyledPanel);
    }

    rdg_DataType = Named(new QGroupBox(grp_Subtitle), QStringLiteral("rdg_DataType"));
    dataTypeButtons_ = new QButtonGroup(rdg_DataType);
    auto* dvb = Named(new QRadioButton(QStringLiteral("DVB-S / ETS         "), rdg_DataType),
                      QStringLiteral("rdg_DataType0"));
    auto* scte = Named(new QRadioButton(QStringLiteral("DVB-C / SCTE"), rdg_DataType),
                       QStringLiteral("rdg_DataType1"));
    dataTypeButtons_->addButton(dvb, DataTypeDvb);
    dataTypeButtons_->addButton(scte, DataTypeScte);
    dvb->setChecked(true);
    auto* columns = new QHBoxLayout(rdg_DataType); // two columns
    columns->addWidget(dvb);
    columns->addWidget(scte);

    auto* grid = new QGridLayout(grp_Subtitle);
    grid->addWidget(grp_SubtitleEnable, 0, 0, 1, 3);
    grid->addWidget(lbl_LanguageCode, 1, 0);
    grid->addWidget(cb_LanguageCode, 1, 1);
    grid->addWidget(lbl_Language, 1, 2);
    grid->addWidget(lbl_SubtitleType, 2, 0);
    grid->addWidget(cb_SubtitleType, 2, 1);
    grid->addWidget(lbl_Subtitle, 2, 2);
    grid->addWidget(rdg_DataType, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    bt_Ok = Named(new QPushButton(QStringLiteral("Ok"), this), QStringLiteral("bt_Ok"));
    bt_Ok->setToolTip(QStringLiteral("Insert item into Programs"));
    bt_Cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("bt_Cancel"));
    bt_Cancel->setToolTip(QStringLiteral("Delete item of list"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bt_Ok);
    buttons->addWidget(bt_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grp_Subtitle);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // fixed border

    // Start state: nothing but the tick and "Cancel" can be used.
    chk_SubtitleEnableClick();
    FitToScreen(this);
}

void Tfrm_Subtitle::Prefill(const DataSlot& slot) {
    if (slot.SubEnable != 1) return;
    storedEnabled_ = true;
    chk_SubtitleEnable->setChecked(true);
    const QString language = QString::fromLatin1(StoredLanguage(slot));
    lbl_Language->setText(language);
    cb_LanguageCode->setCurrentIndex(LanguageIndexFor(language.toLatin1().toStdString()));
    if (slot.SubType != 0) {
        const std::string label = SubtitleTypeLabel(slot.SubType);
        lbl_Subtitle->setText(QString::fromLatin1(label));
        cb_SubtitleType->setCurrentIndex(SubtitleTypeIndexFor(label));
    } else {
        lbl_Subtitle->setEnabled(false);
        cb_SubtitleType->setEnabled(false);
    }
    dataTypeButtons_->button(slot.DataType == DataTypeScte ? DataTypeScte : DataTypeDvb)->setChecked(true);
}

SubtitleChoice Tfrm_Subtitle::Choice() const {
    SubtitleChoice choice;
    choice.Enabled = chk_SubtitleEnable->isChecked();
    choice.DataType = ScteChosen() ? DataTypeScte : DataTypeDvb;
    choice.LanguageLabel = lbl_Language->text().toLatin1().toStdString();
    choice.TypeLabel = lbl_Subtitle->text().toLatin1().toStdString();
    return choice;
}

void Tfrm_Subtitle::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void Tfrm_Subtitle::FormShow() {
    lbl_Language->setText(FirstWordOf(cb_LanguageCode->currentText()));
    lbl_Subtitle->setText(FirstWordOf(cb_SubtitleType->currentText()));
}

// Only "Ok" stores: it stays usable with the tick removed from a stream that
// had subtitles, so that their removal can be stored.
void Tfrm_Subtitle::chk_SubtitleEnableClick() {
    const bool enabled = chk_SubtitleEnable->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{cb_LanguageCode, cb_SubtitleType, rdg_DataType})
        control->setEnabled(enabled);
    bt_Ok->setEnabled(enabled || storedEnabled_);
}

void Tfrm_Subtitle::cb_LanguageCodeChange() {
    lbl_Language->setText(FirstWordOf(cb_LanguageCode->currentText()));
}

void Tfrm_Subtitle::cb_SubtitleTypeChange() {
    lbl_Subtitle->setText(FirstWordOf(cb_SubtitleType->currentText()));
}

bool Tfrm_Subtitle::ScteChosen() const {
    return dataTypeButtons_->checkedId() == DataTypeScte;
}

// An SCTE stream carries no subtitling type.
void Tfrm_Subtitle::rdg_DataTypeClick() {
    const bool dvb = !ScteChosen();
    for (QWidget* control : std::initializer_list<QWidget*>{cb_SubtitleType, lbl_SubtitleType, lbl_Subtitle})
        control->setEnabled(dvb);
}

void Tfrm_Subtitle::bt_OkClick() {
    accept();
}

void Tfrm_Subtitle::bt_CancelClick() {
    reject();
}

void RunSubtitleDialog(QWidget* parent, DataSlot& slot) {
    Tfrm_Subtitle frm_Subtitle(parent);
    frm_Subtitle.Prefill(slot);
    // "Cancel", Escape and the close box leave the stored settings as they were.
    if (frm_Subtitle.exec() == QDialog::Accepted) WriteSubtitleChoice(slot, frm_Subtitle.Choice());
}

} // namespace kv::ui
