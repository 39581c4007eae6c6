#pragma once
// The service editor: the operator picks a program name, fills in the
// service's input, IDs, PIDs, types and flags, and "Ok" stores it into the
// store's service slot of that name. The lower table mirrors the stored
// services; a row click loads one back, Delete and Clear remove them.
//
// Units by concern:
//   kv2208_prog.cpp         opening and closing, Ok, the name choice, the boxes' rules
//   kv2208_prog_layout.cpp  controls, captions, items, hints and start states
//   kv2208_prog_table.cpp   the service table, row click, Delete and Clear

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "model/service_streams.h"
#include "ops/service_entry.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QTableWidget;
class QToolButton;

namespace kv::ui {

// What the editor needs from the main window.
struct ProgEditorHost {
    QStringList ProgramNames;         // the program list, in order
    QString NetName;                  // the network-name box text
    std::function<void()> EnableSend; // "Exit" with services stored switches "Send Mux" on
};

// The service table's columns (the row caption "Nº" first) and their alignments.
int ProgTableColumnCount();
Qt::Alignment ProgTableAlignment(int column);

class Tfrm_CfgProg : public QDialog {
    Q_OBJECT
  public:
    // store: the configuration the editor reads and changes.
    Tfrm_CfgProg(ConfigStore& store, ProgEditorHost host, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void FormShow();
    void cb_NameProgClick();
    void bt_OkClick();
    void bt_ExitClick();
    void bt_Sub1Click();
    void bt_Sub2Click();

    // The service table (kv2208_prog_table.cpp).
    void lst_ProgsClick();
    void bt_DeleteClick();
    void bt_ClearClick();

  private:
    // Layout (kv2208_prog_layout.cpp).
    void BuildControls();
    void BuildEntryGroup();
    void BuildTable();
    void ConnectHandlers();

    // The boxes of one stream: its In and Out boxes and, for video and audio,
    // its type list. The editor's table of them lists the streams in the
    // order of StreamsOf and EntryStreams: PCR, video, audio 1 to 4, data 1 and 2.
    struct StreamBoxes {
        StreamKind Kind = StreamKind::Pcr;
        int Slot = 0;
        QLineEdit* In = nullptr;
        QLineEdit* Out = nullptr;
        QComboBox* Type = nullptr;
    };
    StreamBoxes BuildStreamGroup(QWidget* parent, StreamKind kind, int slot); // one stream's group
    const StreamBoxes& BoxesOf(StreamKind kind, int slot = 0) const;

    // The rules of the number boxes: key filter, exit warnings, "Rep Out".
    void InstallBoxRules();
    void txt_PidPmtExit();               // the PMT box, also when the Service ID box is left
    void txt_PidOutExit(QLineEdit* box); // an output box
    void txt_PidVidInChange(QLineEdit* in, QLineEdit* out);

    Radix CurrentRadix() const;
    ServiceEntry ReadEntry() const;
    void ClearServiceFields();
    void EditSubtitle(int dataIndex);
    void SetListButtons(bool enabled); // "Delete" and "Clear"
    void SetBoxText(QLineEdit* box, const std::string& text);

    // The service table.
    int RowCount() const;
    std::optional<int> SelectedRow() const;
    void ClearRowSelection();
    void ShowServiceRow(int slot, bool found);
    void FillRow(int row, int slot);
    void RebuildRows();
    void SelectNameOf(int slot, int row);

    ConfigStore& store_;
    ProgEditorHost host_;
    bool shown_ = false;

    // " Programs ".
    QGroupBox* grp_Programs = nullptr;
    QComboBox* cb_NameProg = nullptr;
    QComboBox* cb_InAsi = nullptr;
    QLineEdit* txt_ServiceID = nullptr;
    QLineEdit* txt_PidPmt = nullptr;
    // txt_PidPcrIn/Out, txt_PidVidIn/Out with cb_VidType, txt_PidAud1In/Out
    // with cb_Aud1Type .. audio 4, txt_PidData1In/Out, txt_PidData2In/Out.
    std::array<StreamBoxes, StreamCount> streamBoxes_{};
    QCheckBox* ckb_Pcr = nullptr;
    QPushButton* bt_Sub1 = nullptr;
    QPushButton* bt_Sub2 = nullptr;
    QCheckBox* ckb_Present = nullptr;
    QCheckBox* ckb_Schedule = nullptr;
    QCheckBox* ckb_genPMT = nullptr;
    QCheckBox* ckb_Duplicate = nullptr;
    QGroupBox* rdg_PidEdit = nullptr;
    QButtonGroup* radixButtons_ = nullptr;
    QToolButton* bt_Ok = nullptr;
    QToolButton* bt_Exit = nullptr;
    QToolButton* bt_Delete = nullptr;
    QToolButton* bt_Clear = nullptr;

    // " Data Views ".
    QGroupBox* grp_DataViews = nullptr;
    QTableWidget* lst_Progs = nullptr;
};

} // namespace kv::ui
