#pragma once
// The subtitle dialog of one data stream: whether the PMT describes the
// stream with language and subtitling descriptors, its language, its
// subtitling type and whether it is a DVB or an SCTE stream. "Ok" writes its
// state back; "Cancel", Escape and the window frame leave the stream as it was.

#include <QDialog>

#include "model/config_store.h"
#include "model/subtitle_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace kv::ui {

class Tfrm_Subtitle : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_Subtitle(QWidget* parent = nullptr);

    // Shows the stored settings of a stream whose subtitles are enabled; a
    // stream without them keeps the start state.
    void Prefill(const DataSlot& slot);
    // The state to write back once the dialog has closed.
    SubtitleChoice Choice() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void FormShow();
    void chk_SubtitleEnableClick();
    void cb_LanguageCodeChange();
    void cb_SubtitleTypeChange();
    void rdg_DataTypeClick();
    void bt_OkClick();
    void bt_CancelClick();

  private:
    void BuildControls();
    bool ScteChosen() const;

    bool shown_ = false;
    bool storedEnabled_ = false; // the stream had subtitles when the dialog opened

    QGroupBox* grp_Subtitle = nullptr;
    QGroupBox* grp_SubtitleEnable = nullptr;
    QCheckBox* chk_SubtitleEnable = nullptr;
    QLabel* lbl_LanguageCode = nullptr;
    QComboBox* cb_LanguageCode = nullptr;
    QLabel* lbl_Language = nullptr;
    QLabel* lbl_SubtitleType = nullptr;
    QComboBox* cb_SubtitleType = nullptr;
    QLabel* lbl_Subtitle = nullptr;
    QGroupBox* rdg_DataType = nullptr;
    QButtonGroup* dataTypeButtons_ = nullptr;
    QPushButton* bt_Ok = nullptr;
    QPushButton* bt_Cancel = nullptr;
};

// Opens the dialog for one data stream, modally, and writes its state into
// `slot` when it closes by "Ok".
void RunSubtitleDialog(QWidget* parent, DataSlot& slot);

} // namespace kv::ui
