// The main window right after start: controls, captions, hints, enabled
// states, filling from the store when shown, the clock, About and Exit.

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <cstring>

#include "gui_test_support.h"
#include "kv_version.h"
#include "main_window_support.h"
#include "model/cli_run.h"
#include "ops/bit_rate_entry.h"
#include "ui/kv2208_about.h"
#include "ui/message_box.h"

namespace kv::test {
namespace {

struct ControlState {
    const char* name;
    bool enabled;
};

TEST_F(MainWindowTest, StartsDisconnectedWithOnlyConnectAboutExitPortsListAndModeUsable) {
    Shown();
    const ControlState widgets[] = {
        {"bt_Connect", true},   {"bt_Disconnect", false}, {"bt_About", true},     {"bt_Exit", true},
        {"bt_Add", false},      {"bt_Edit", false},       {"bt_Delete", false},   {"bt_Clear", false},
        {"bt_Ghost", false},    {"bt_Open", false},       {"bt_Save", false},     {"bt_Get", false},
        {"bt_Send", false},     {"txt_NameProg", false},  {"txt_NetName", false}, {"txt_TSID", false},
        {"txt_BitRate", false}, {"lst_Prog", true},       {"rdg_Mode", true},
    };
    for (const ControlState& c : widgets) EXPECT_EQ(Control(c.name)->isEnabled(), c.enabled) << c.name;
    const ControlState actions[] = {
        {"mn_Connect", true}, {"mn_Disconnect", false}, {"mn_Exit", true}, {"mn_About", true}};
    for (const ControlState& c : actions) EXPECT_EQ(Action(c.name)->isEnabled(), c.enabled) << c.name;
    EXPECT_TRUE(PortMenuEnabled());
    for (int n = 1; n <= 9; ++n) {
        QAction* item = Action(QStringLiteral("mn_%1").arg(n).toLatin1().constData());
        EXPECT_TRUE(item->isEnabled());
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked()) << n;
        EXPECT_EQ(item->text(), QStringLiteral(" %1").arg(n));
    }

    EXPECT_EQ(Control<QLabel>("lbl_Status")->text(), "Disconnected");
    EXPECT_TRUE(Control("RedLed")->isVisible());
    EXPECT_EQ(Control("RedLed")->geometry(), Control("GreenLed")->geometry());
    EXPECT_EQ(Control<QLabel>("lbl_PortSerial")->text(), " 0 ");
    EXPECT_EQ(Control<QLabel>("lbl_Port")->text(), "Port: ");
    EXPECT_TRUE(Control<QLabel>("lbl_Timer")->text().isEmpty());
    EXPECT_TRUE(Control<QRadioButton>("rdg_ModeByte")->isChecked());
    for (const char* box : {"txt_NameProg", "txt_NetName", "txt_TSID", "txt_BitRate"})
        EXPECT_TRUE(Box(box)->text().isEmpty()) << box;
}

TEST_F(MainWindowTest, WindowHasFixedClientAreaTitleAndNamedParts) {
    ui::Tfrm_CfgMux& w = Shown();
    EXPECT_EQ(w.objectName(), "frm_CfgMux");
    EXPECT_EQ(w.windowTitle(), "KV2200-8 Multiplixer 8x1 - Brimco");
    EXPECT_EQ(w.centralWidget()->size(), QSize(652, 463));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w.menuBar()->objectName(), "MainMenu1");
    EXPECT_TRUE(Action("mn_Trace1")->isSeparator());
    for (const char* name : {"grp_Toolbar", "grp_Conexao", "grp_PortSerial", "grp_Brimco", "grp_Timer",
                             "lbl_Brimco", "bt_Brimco"})
        Control(name);
    EXPECT_NE(w.findChild<QTimer*>("Timer1"), nullptr);
    // The window icon is drawn from the desktop entry's SVG, linked into the program.
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/kv2208-conf.svg")));
}

TEST_F(MainWindowTest, CaptionsHintsAndLengthLimitsAreTheTool) {
    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Button buttons[] = {
        {"bt_Connect", "", "Connect"},
        {"bt_Disconnect", "", "Disconnect"},
        {"bt_About", "", "About"},
        {"bt_Exit", "", "Exit"},
        {"bt_Add", "Add", "Add new program in list"},
        {"bt_Edit", "Edit", "Configure Programs Pid"},
        {"bt_Delete", "Delete", "Delete Program selected"},
        {"bt_Clear", "Clear", "Delete all programs"},
        {"bt_Ghost", "Ghost", "Configure ghost data"},
        {"bt_Open", "Open", "Open file "},
        {"bt_Save", "Save", "Save in file"},
        {"bt_Get", "Get", "Get data from Multiplexer"},
        {"bt_Send", "Send Mux", "Send data to Mux"},
    };
    for (const Button& b : buttons) {
        auto* button = Control<QAbstractButton>(b.name);
        EXPECT_EQ(button->text(), b.caption) << b.name;
        EXPECT_EQ(button->toolTip(), b.hint) << b.name;
        EXPECT_FALSE(button->icon().isNull()) << b.name;
    }
    struct Caption {
        const char* name;
        const char* text;
    };
    for (const Caption& c : {Caption{"lbl_NetName", "Network Name:"}, Caption{"lbl_BitRate", "Bit Rate:"},
                             Caption{"lbl_Bps", "(Bps)"}, Caption{"lbl_TSID", "Transport Stream ID:"},
                             Caption{"lbl_Dec", "(Dec)"}})
        EXPECT_EQ(Control<QLabel>(c.name)->text(), c.text) << c.name;
    EXPECT_EQ(Control<QGroupBox>("grp_Nit")->title(), " NIT - Network Information Table ");
    EXPECT_EQ(Control<QGroupBox>("grp_Program")->title(), " Programs ");
    EXPECT_EQ(Control<QGroupBox>("rdg_Mode")->title(), " Mode ");
    EXPECT_EQ(Control<QRadioButton>("rdg_ModeByte")->text(), "Byte");
    EXPECT_EQ(Control<QRadioButton>("rdg_ModePack")->text(), "Pack");
    for (const Caption& c : {Caption{"mn_Connect", "&Connect"}, Caption{"mn_Disconnect", "&Disconnect"},
                             Caption{"mn_Exit", "&Exit"}, Caption{"mn_About", "&About"}})
        EXPECT_EQ(Action(c.name)->text(), c.text) << c.name;
    EXPECT_EQ(Control<QMenu>("mn_Port")->title(), "&Port");
    EXPECT_EQ(Box("txt_NetName")->maxLength(), 10);
    EXPECT_EQ(Box("txt_BitRate")->maxLength(), 9);
    EXPECT_EQ(Box("txt_TSID")->maxLength(), 4);
    EXPECT_EQ(Box("txt_NameProg")->maxLength(), 10);
}

TEST_F(MainWindowTest, StartChangesNothingBecauseCreationEmptiesTheCounts) {
    ConfigStore& store = TestApp().Store;
    store.Svc.SvcCount = 3;
    store.Ghost.GhostCount = 5;
    std::strcpy(store.Svc.NetName, "OLDNET");
    Shown();
    EXPECT_EQ(store.Svc.SvcCount, 0);
    EXPECT_EQ(store.Ghost.GhostCount, 0);
    EXPECT_EQ(Control<QListWidget>("lst_Prog")->count(), 0);
    EXPECT_TRUE(Box("txt_NetName")->text().isEmpty());
    EXPECT_FALSE(Control("bt_Send")->isEnabled());
}

TEST_F(MainWindowTest, ShowingFillsNameRateModeTsidAndListFromStoredServices) {
    Build();
    ConfigStore& store = TestApp().Store;
    ASSERT_EQ(ApplyBitRateEntry(store, "150000000", true).outcome, BitRateEntry::Outcome::Applied);
    store.Svc.SvcCount = 2;
    std::strcpy(store.Svc.NetName, "SKYNET");
    std::strcpy(store.Svc.SvcInfo[0].Name, "NEWS");
    std::memcpy(store.Svc.SvcInfo[1].Name, "SPORTSPORTX", 11); // no terminator: cut at 10
    store.Svc.TsId = 40000;
    Shown();
    EXPECT_EQ(Box("txt_NetName")->text(), "SKYNET");
    EXPECT_EQ(Box("txt_BitRate")->text(), "150011082");
    // Above 108 000 000 bit/s Byte mode needs no stuffing: it reads back as "Pack".
    EXPECT_TRUE(Control<QRadioButton>("rdg_ModePack")->isChecked());
    EXPECT_EQ(Box("txt_TSID")->text(), "40000"); // shown whole beyond the 4 typed characters
    auto* list = Control<QListWidget>("lst_Prog");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "NEWS");
    EXPECT_EQ(list->item(1)->text(), "SPORTSPORT");
    for (const char* name : {"bt_Edit", "bt_Delete", "bt_Clear", "bt_Save", "bt_Send"})
        EXPECT_TRUE(Control(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, ShowingAGhostOnlyStoreFillsRateAndModeAndEnablesOnlySendAndSave) {
    Build();
    ConfigStore& store = TestApp().Store;
    ASSERT_EQ(ApplyBitRateEntry(store, "27000000", true).outcome, BitRateEntry::Outcome::Applied);
    store.Svc.RateStuff = 0; // only the ghost copies count without services
    store.Ghost.GhostCount = 4;
    std::strcpy(store.Svc.NetName, "IGNORED");
    Shown();
    EXPECT_EQ(Box("txt_BitRate")->text(), "27000000");
    EXPECT_TRUE(Control<QRadioButton>("rdg_ModeByte")->isChecked());
    EXPECT_TRUE(Box("txt_NetName")->text().isEmpty());
    EXPECT_TRUE(Box("txt_TSID")->text().isEmpty());
    EXPECT_TRUE(Control("bt_Send")->isEnabled());
    EXPECT_TRUE(Control("bt_Save")->isEnabled());
    for (const char* name : {"bt_Edit", "bt_Delete", "bt_Clear"})
        EXPECT_FALSE(Control(name)->isEnabled()) << name;
}

TEST(MainWindowClock, ShowsTwoDigitFieldsAfterOneBlank) {
    EXPECT_EQ(ui::ClockText(9, 5, 3), " 09:05:03");
    EXPECT_EQ(ui::ClockText(23, 59, 59), " 23:59:59");
    EXPECT_EQ(ui::ClockText(0, 0, 0), " 00:00:00");
}

TEST_F(MainWindowTest, ClockIsEmptyUntilTheFirstTickThenShowsTheTime) {
    Shown();
    auto* clock = Control<QLabel>("lbl_Timer");
    EXPECT_TRUE(clock->text().isEmpty());
    const QRegularExpression format(QStringLiteral("^ ([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d$"));
    ASSERT_TRUE(QTest::qWaitFor([clock] { return !clock->text().isEmpty(); }, 5000));
    EXPECT_TRUE(format.match(clock->text()).hasMatch()) << clock->text().toStdString();
}

TEST_F(MainWindowTest, AboutOpensAFreshDialogEachTimeAndOkClosesIt) {
    Shown();
    for (int round = 0; round < 2; ++round) {
        QPointer<ui::Tfrm_About> opened;
        QString name, version, title;
        WhenModal<ui::Tfrm_About>([&](ui::Tfrm_About* about) {
            opened = about;
            title = about->windowTitle();
            name = about->findChild<QLabel*>("Label3")->text();
            version = about->findChild<QLabel*>("Label4")->text();
            EXPECT_EQ(about->size(), QSize(336, 211));
            about->findChild<QAbstractButton*>("bt_Ok")->click();
        });
        if (round == 0)
            Control<QAbstractButton>("bt_About")->click();
        else
            Action("mn_About")->trigger();
        EXPECT_EQ(title, "KV2200-8 Multiplixer 8x1 - Brimco");
        EXPECT_EQ(name, "KV2200-8 Multiplexer 8x1");
        EXPECT_EQ(version, "Version 2.0");
        EXPECT_TRUE(opened.isNull()) << "the dialog is destroyed when it closes";
    }
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndEndsTheProcessOnce) {
    Shown();
    Action("mn_Exit")->trigger();
    EXPECT_EQ(processEnds_, 1);
    EXPECT_FALSE(Build().isVisible());
}

} // namespace
} // namespace kv::test

namespace kv::test {
namespace {

// --help and --version answer without a display.
TEST(WindowProgram, HelpAndVersionNeedNoDisplay) {
    TempFolder folder;
    const std::string program = std::string(KV_BIN_DIR) + "/kv2208-conf";
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const ProgramRun version = RunProgram(folder, program, {"--version"}, noDisplay);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("kv2208-conf ") + Version + "\n");
    const ProgramRun help = RunProgram(folder, program, {"--help"}, noDisplay);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--port <N>"), std::string::npos) << help.out;
}

} // namespace
} // namespace kv::test
