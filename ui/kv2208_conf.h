#pragma once
// The main window: toolbar, network settings, program list, device
// operations, status bar with clock, and the main menu. It keeps no data of
// its own: what it shows comes from the program's AppState it is handed and
// what the operator enters goes there; the windows it opens get the parts of
// it they need.
//
// Units by concern:
//   kv2208_conf.cpp          window events, clock, dialogs, Exit, connection states
//   kv2208_conf_layout.cpp   controls, captions, hints, menu
//   kv2208_conf_device.cpp   port file and menu, Connect, Disconnect, "Send Mux"
//   kv2208_conf_network.cpp  key filters and exits of the network boxes
//   kv2208_conf_programs.cpp the program list: Add, Select, Delete, Clear
//   kv2208_conf_files.cpp    project files: Open and Save with their dialogs
//   kv2208_conf_get.cpp      "Get": the device's configuration read back
//   kv2208_conf_mux_map.cpp  "Multiplex map..."
//   kv2208_conf_transfer.cpp transfers on a worker thread, prg_Transfer

#include <QMainWindow>
#include <functional>

#include "ops/bit_rate_entry.h"

namespace kv {
class SerialChannel;
namespace ui {
struct AppState;
}
struct ReadBackDisplay;
struct TransferTiming;
} // namespace kv

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QMenu;
class QRadioButton;
class QTimer;
class QToolButton;

namespace kv::ui {

// The clock of the status bar: " %2.2d:%2.2d:%2.2d".
QString ClockText(int hours, int minutes, int seconds);

class Tfrm_CfgMux : public QMainWindow {
    Q_OBJECT
  public:
    explicit Tfrm_CfgMux(AppState& app, QWidget* parent = nullptr);
    ~Tfrm_CfgMux() override; // closes the serial channel it created

    // How Exit ends the process once the channel and window are closed:
    // at once, with exit code 0. Tests put something harmless here.
    std::function<void()> EndProcess;

  protected:
    bool event(QEvent* e) override; // window activation runs FormActivate
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override; // the close box asks as Exit does

  private slots:
    // Window events and the clock.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void Timer1Timer();

    // Toolbar, menu and the two editors.
    void bt_AboutClick();
    void bt_ExitClick();
    void bt_EditClick();
    void bt_GhostClick();
    void mn_CaptureClick(); // services from a capture of an input

    // Device operations.
    void mn_1Click(QAction* chosen); // shared by mn_1 .. mn_9
    void mn_DevicesClick();          // the device of each port (devices.cpp)
    void mn_ConfigPopup();           // "Multiplex map..." usable while the store holds something
    void mn_MuxMapClick();           // the multiplex map (kv2208_conf_mux_map.cpp)
    void bt_ConnectClick();
    void bt_DisconnectClick();
    void bt_SendClick();
    void bt_GetClick();

    // Program list.
    void bt_AddClick(); // also Enter in txt_NameProg
    void lst_ProgClick();
    void bt_DeleteClick();
    void bt_ClearClick();

    // Project files.
    void bt_OpenClick();
    void bt_SaveClick();

    // Network settings.
    void txt_TSIDExit();
    void txt_BitRateExit();

  private:
    // Layout.
    void BuildMenu();
    QWidget* BuildToolbar();
    QGroupBox* BuildNitGroup();
    QGroupBox* BuildProgramGroup();
    QWidget* BuildStatusBar();
    void InstallNetworkFilters();

    // The bit-rate exit steps; the caller shows the warning of a rate out of range.
    kv::BitRateEntry ApplyBitRateBox();
    bool ByteModeChosen() const;

    // Filling the window from the store (FormShow; "Get" and Open do the same).
    void ShowRate(const int16_t* gaps, int16_t stuff); // effective rate and mode
    void ShowRate(int64_t effectiveRate, bool packMode);
    void AppendServiceNames();
    void ShowOpenedProject();                            // after Open read a file
    void ShowReadBack(const kv::ReadBackDisplay& shown); // after "Get"

    // The selected program's list position, -1 when none is selected.
    int SelectedProgram() const;
    void ClearProgramSelection();

    // True when nothing changed since the last Save, Open, "Send Mux" or "Get",
    // or when the operator agrees to lose the changes.
    bool MayLoseUnsavedWork();
    bool exitConfirmed_ = false; // Exit asked already; its close() does not ask again

    // Runs `work` on a worker thread with the application's timing and
    // returns when it is done. Meanwhile the window repaints and answers, the
    // Programs group and the device items are disabled, and prg_Transfer
    // shows the step and its records.
    void RunTransfer(const std::function<void(const TransferTiming&)>& work);
    void ShowTransferStep(const QString& step, int records);
    bool transferRunning_ = false; // no second operation, no closing meanwhile

    // The controls switched by Connect and Disconnect.
    void SetConnectedControls(bool connected);
    // "Edit", "Delete", "Clear", "Save" and "Send Mux" follow the content.
    void SetContentButtons(bool listButtons, bool saveAndSend);
    // " %d " after reading the port file, " %d" after choosing a port.
    void ShowPort(bool trailingBlank);

    AppState& app_;                    // the program's state, owned by main()
    SerialChannel* channel_ = nullptr; // the channel this window created in app_

    // Toolbar.
    QFrame* grp_Toolbar = nullptr;
    QToolButton* bt_Connect = nullptr;
    QToolButton* bt_Disconnect = nullptr;
    QToolButton* bt_About = nullptr;
    QToolButton* bt_Exit = nullptr;

    // " NIT - Network Information Table ".
    QGroupBox* grp_Nit = nullptr;
    QLineEdit* txt_NetName = nullptr;
    QGroupBox* rdg_Mode = nullptr;
    QRadioButton* rdg_ModeByte = nullptr;
    QRadioButton* rdg_ModePack = nullptr;
    QLineEdit* txt_BitRate = nullptr;
    QLineEdit* txt_TSID = nullptr;
    QToolButton* bt_Brimco = nullptr;

    // " Programs ".
    QGroupBox* grp_Program = nullptr;
    QLineEdit* txt_NameProg = nullptr;
    QListWidget* lst_Prog = nullptr;
    QToolButton* bt_Add = nullptr;
    QToolButton* bt_Edit = nullptr;
    QToolButton* bt_Delete = nullptr;
    QToolButton* bt_Clear = nullptr;
    QToolButton* bt_Ghost = nullptr;
    QToolButton* bt_Open = nullptr;
    QToolButton* bt_Save = nullptr;
    QToolButton* bt_Get = nullptr;
    QToolButton* bt_Send = nullptr;

    // Status bar.
    QFrame* grp_Conexao = nullptr;
    QLabel* GreenLed = nullptr;
    QLabel* RedLed = nullptr;
    QLabel* lbl_Status = nullptr;
    QFrame* grp_PortSerial = nullptr;
    QLabel* lbl_Port = nullptr;
    QLabel* lbl_PortSerial = nullptr;
    QFrame* grp_Brimco = nullptr;
    QLabel* lbl_Brimco = nullptr;
    QProgressBar* prg_Transfer = nullptr; // in place of lbl_Brimco while a transfer runs
    QFrame* grp_Timer = nullptr;
    QLabel* lbl_Timer = nullptr;

    // Main menu.
    QMenu* mn_File = nullptr;
    QAction* mn_Connect = nullptr;
    QAction* mn_Disconnect = nullptr;
    QAction* mn_Open = nullptr; // the Programs group's operations, for the keyboard
    QAction* mn_Save = nullptr;
    QAction* mn_Get = nullptr;
    QAction* mn_Send = nullptr;
    QAction* mn_Exit = nullptr;
    QMenu* mn_Config = nullptr;
    QMenu* mn_Port = nullptr;
    QAction* mn_PortItems[9] = {}; // mn_1 .. mn_9
    QAction* mn_Devices = nullptr;
    QAction* mn_Edit = nullptr;
    QAction* mn_Ghost = nullptr;
    QAction* mn_Capture = nullptr;
    QAction* mn_MuxMap = nullptr;
    QMenu* mn_Help = nullptr;
    QAction* mn_About = nullptr;

    QTimer* Timer1 = nullptr;
};

} // namespace kv::ui
