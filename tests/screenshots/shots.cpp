// Every window the pictures show, in one list; a new window adds its shot here.

#include "screenshots/shots.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <cstring>

#include "gui/mux_map_support.h"
#include "model/app_paths.h"

#include "ui/app_state.h"
#include "ui/devices.h"
#include "ui/kv2208_about.h"
#include "ui/kv2208_conf.h"
#include "ui/kv2208_ghost.h"
#include "ui/kv2208_prog.h"
#include "ui/mux_map.h"
#include "ui/subtitle.h"

namespace kv::shots {
namespace {

// The main window connected to the simulated multiplexer, a TSID entered, a
// program chosen and the clock running.
std::unique_ptr<QWidget> ConnectedMainWindow(Stage& stage) {
    auto window = std::make_unique<ui::Tfrm_CfgMux>(stage.App()); // starts from an empty store
    stage.FillServices({"NEWS 24", "SPORT", "MOVIES", "KIDS", "MUSIC HITS"});
    stage.StartSimulator();
    ShowActive(*window);
    Child<QAbstractButton>(*window, "bt_Connect")->click();
    if (!stage.App().Channel || !stage.App().Channel->Connected())
        throw std::runtime_error("the window did not connect to the simulated multiplexer");
    Child<QLineEdit>(*window, "txt_TSID")->setText(QStringLiteral("4660"));
    Child<QListWidget>(*window, "lst_Prog")->setCurrentRow(1);
    Child<QLineEdit>(*window, "txt_NameProg")->setText(QStringLiteral("SPORT"));
    auto* clock = Child<QLabel>(*window, "lbl_Timer");
    if (!QTest::qWaitFor([clock] { return !clock->text().isEmpty(); }, 3000))
        throw std::runtime_error("the clock did not start");
    return window;
}

// The service editor over three stored services, the second one loaded back
// by a click on its row.
std::unique_ptr<QWidget> ServiceEditor(Stage& stage) {
    stage.FillServices({"NEWS", "SPORT", "MOVIES"});
    ui::ProgEditorHost host;
    host.ProgramNames = {QStringLiteral("NEWS"), QStringLiteral("SPORT"), QStringLiteral("MOVIES")};
    host.NetName = QStringLiteral("BRIMCO NET");
    auto editor = std::make_unique<ui::Tfrm_CfgProg>(stage.App().Store, host);
    ShowActive(*editor);
    auto* table = Child<QTableWidget>(*editor, "lst_Progs");
    const QRect row = table->visualRect(table->model()->index(1, 2));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
    return editor;
}

// The subtitle dialog of a stream with English subtitles for the hard of hearing.
std::unique_ptr<QWidget> SubtitleDialog(Stage&) {
    auto dialog = std::make_unique<ui::Tfrm_Subtitle>();
    DataSlot data{};
    data.SubEnable = 1;
    std::memcpy(data.SubLang, "eng", 4);
    data.SubType = 0x20;
    dialog->Prefill(data);
    ShowActive(*dialog);
    return dialog;
}

std::unique_ptr<QWidget> GhostEditor(Stage& stage) {
    stage.FillGhosts(6);
    auto editor = std::make_unique<Tfrm_CfgGhost>(stage.App().Store, std::function<void()>{});
    ShowActive(*editor);
    return editor;
}

std::unique_ptr<QWidget> AboutBox(Stage&) {
    auto about = std::make_unique<ui::Tfrm_About>();
    ShowActive(*about);
    return about;
}

std::unique_ptr<QWidget> DevicesDialog(Stage& stage) {
    auto devices = std::make_unique<ui::Tfrm_Devices>(stage.Folder());
    ShowActive(*devices);
    return devices;
}

// The multiplex map of 41 services over the eight inputs, one ghost entry on
// a service's audio PID drawn as a conflict; as large as the screen allows.
std::unique_ptr<QWidget> MuxMap(Stage& stage) {
    auto store = std::make_unique<ConfigStore>();
    test::FillFortyOneServices(*store);
    auto map = std::make_unique<ui::Tfrm_MuxMap>(*store, ConfigFolder(stage.Folder()));
    ShowActive(*map);
    return map;
}

} // namespace

const std::vector<Shot>& Shots() {
    static const std::vector<Shot> shots = {
        {"main_window.png", ConnectedMainWindow},
        {"service_editor.png", ServiceEditor},
        {"subtitle_dialog.png", SubtitleDialog},
        {"ghost_editor.png", GhostEditor},
        {"about_box.png", AboutBox},
        {"devices_dialog.png", DevicesDialog},
        {"mux_map.png", MuxMap},
    };
    return shots;
}

} // namespace kv::shots
