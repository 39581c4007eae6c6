#pragma once
// The ghost PID editor: lists the store's ghost entries, lets the operator
// add, replace, delete and clear them, and writes the list back on "Exit ".

#include <QDialog>
#include <functional>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "ops/ghost_rows.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QTreeWidget;

class Tfrm_CfgGhost : public QDialog {
    Q_OBJECT
  public:
    // enableSendAndSave: run by "Exit " when the store holds ghost entries, so
    // the main window can offer "Send Mux" and "Save".
    // store: the configuration whose ghost entries the editor shows and changes.
    Tfrm_CfgGhost(kv::ConfigStore& store, std::function<void()> enableSendAndSave, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    void FormShow();
    void bt_AddClick();
    void bt_DeleteClick();
    void bt_ClearClick();
    void bt_ExitClick();
    void lst_GhostClick();
    void txt_PidInGhostKeyPress(); // Enter in either PID field

  private:
    void BuildControls();
    kv::Radix CurrentRadix() const;
    int SelectedRow() const;
    void ShowRow(int index);
    void ClearSelection();
    void SetListButtons(bool haveRows); // Delete and Clear

    kv::ConfigStore& store_;
    std::function<void()> enableSendAndSave_;
    kv::GhostRows rows_;
    bool shown_ = false;

    QComboBox* cb_InASI = nullptr;
    QLineEdit* txt_PidInGhost = nullptr;
    QLineEdit* txt_PidOutGhost = nullptr;
    QGroupBox* rdg_PidEdit = nullptr;
    QButtonGroup* radixButtons_ = nullptr;
    QTreeWidget* lst_Ghost = nullptr;
    QPushButton* bt_Add = nullptr;
    QPushButton* bt_Delete = nullptr;
    QPushButton* bt_Clear = nullptr;
    QPushButton* bt_Exit = nullptr;
};
