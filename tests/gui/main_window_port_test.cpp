// The port file, the port menu, Connect and Disconnect of the main window.

#include <sys/stat.h>

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "ops/bit_rate_entry.h"

namespace kv::test {
namespace {

TEST_F(MainWindowTest, ChoosingPort4WritesTheTwoBytesAndTheLabelGainsItsTrailingBlankOnActivation) {
    Shown();
    Action("mn_2")->trigger();
    Action("mn_4")->trigger();
    EXPECT_EQ(ReadFile(TestApp().PortFile), (std::vector<uint8_t>{0x04, 0x00}));
    EXPECT_EQ(TestApp().ComPort, 4);
    EXPECT_EQ(Control<QLabel>("lbl_PortSerial")->text(), " 4");
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(Action(QStringLiteral("mn_%1").arg(n).toLatin1().constData())->isChecked(), n == 4) << n;
    Reactivate();
    EXPECT_EQ(Control<QLabel>("lbl_PortSerial")->text(), " 4 ");
    EXPECT_EQ(TestApp().ComPort, 4);
}

// Without a Config folder beside the program (an installed copy), the port
// goes to the user's folder, made when the port is chosen; a folder that
// cannot be made is named, with the reason.
TEST_F(MainWindowTest, ChoosingAPortWritesToTheUsersConfigFolderOrSaysWhyNot) {
    std::filesystem::remove(folder_ + "Config");
    std::ofstream(folder_ + "file") << "not a folder";
    const struct {
        std::string xdg, error;
    } cases[] = {{folder_ + "xdg", ""},
                 {folder_ + "file", "Cannot create " + folder_ + "file/kv2208: Not a directory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdg);
        setenv("XDG_CONFIG_HOME", c.xdg.c_str(), 1);
        TestApp().SetAppFolder(folder_);
        Shown();
        BoxAnswerer boxes;
        Action("mn_5")->trigger();
        EXPECT_EQ(boxes.Last().toStdString(), c.error);
        if (c.error.empty()) {
            EXPECT_EQ(ReadFile(c.xdg + "/kv2208/KV2200-8_CONFPORT.kv2"), (std::vector<uint8_t>{5, 0}));
        }
    }
    unsetenv("XDG_CONFIG_HOME");
}

// What activation makes of the port file.
TEST_F(MainWindowTest, ActivationReadsThePortFile) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes; // empty: no file
        bool readOnly;
        int16_t portBefore;
        int16_t portAfter;
        const char* label;
        int checkedItem; // 0: none
    };
    const Case cases[] = {
        // Without a readable file the port becomes 0 and the label keeps
        // what creation showed.
        {"no file", {}, false, 3, 0, " 3 ", 0},
        {"port 7", {0x07, 0x00}, false, 0, 7, " 7 ", 7},
        {"port 12 checks no item", {0x0C, 0x00}, false, 0, 12, " 12 ", 0},
        {"one byte leaves the port", {0x05}, false, 2, 2, " 2 ", 2},
        {"read-only file counts as missing", {0x06, 0x00}, true, 3, 0, " 3 ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const std::string& path = TestApp().PortFile;
        if (!c.bytes.empty()) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()),
                       static_cast<std::streamsize>(c.bytes.size()));
            if (c.readOnly) {
                ASSERT_EQ(chmod(path.c_str(), 0444), 0);
            }
        }
        TestApp().ComPort = c.portBefore;
        Shown();
        Reactivate();
        EXPECT_EQ(TestApp().ComPort, c.portAfter);
        EXPECT_EQ(Control<QLabel>("lbl_PortSerial")->text(), c.label);
        for (int n = 1; n <= 9; ++n)
            EXPECT_EQ(Action(QStringLiteral("mn_%1").arg(n).toLatin1().constData())->isChecked(),
                      n == c.checkedItem);
    }
}

TEST_F(MainWindowTest, ConnectWithoutAPortFailsOnCom0AndStaysDisconnected) {
    Shown();
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Connect")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), QStringLiteral("COM0 não disponivel"));
    EXPECT_TRUE(Control("bt_Connect")->isEnabled());
    EXPECT_FALSE(Control("bt_Disconnect")->isEnabled());
    EXPECT_TRUE(Control("RedLed")->isVisible());
    EXPECT_EQ(Control<QLabel>("lbl_Status")->text(), "Disconnected");
    EXPECT_FALSE(TestApp().Channel->Connected());
}

TEST_F(MainWindowTest, ConnectAndDisconnectSwitchEveryControlOfTheConnection) {
    StartSimulator(3);
    Shown();
    EXPECT_EQ(TestApp().ComPort, 3);
    EXPECT_EQ(Control<QLabel>("lbl_PortSerial")->text(), " 3 ");
    EXPECT_TRUE(Action("mn_3")->isChecked());

    BoxAnswerer boxes;
    Action("mn_Connect")->trigger();
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
    ASSERT_TRUE(TestApp().Channel->Connected());
    EXPECT_EQ(Control<QLabel>("lbl_Status")->text(), "Connected!");
    EXPECT_FALSE(Control("RedLed")->isVisible());
    EXPECT_TRUE(Control("GreenLed")->isVisible());
    EXPECT_FALSE(Control("bt_Connect")->isEnabled());
    EXPECT_FALSE(Action("mn_Connect")->isEnabled());
    EXPECT_FALSE(PortMenuEnabled());
    for (const char* name : {"bt_Disconnect", "bt_Add", "bt_Get", "bt_Open", "bt_Ghost", "txt_NameProg",
                             "txt_NetName", "txt_TSID", "txt_BitRate"})
        EXPECT_TRUE(Control(name)->isEnabled()) << name;
    EXPECT_TRUE(Action("mn_Disconnect")->isEnabled());
    // The content buttons do not follow the connection.
    for (const char* name : {"bt_Edit", "bt_Delete", "bt_Clear", "bt_Save", "bt_Send"})
        EXPECT_FALSE(Control(name)->isEnabled()) << name;

    // The operator fills the window; Disconnect empties it and resets only
    // the service count and the transport stream ID of the store.
    ConfigStore& store = TestApp().Store;
    Box("txt_NameProg")->setText("NEWS");
    Box("txt_NetName")->setText("NET1");
    Enter(Box("txt_TSID"), "1234", Box("txt_NetName"));
    Enter(Box("txt_BitRate"), "38000000", Box("txt_NetName"));
    Control<QListWidget>("lst_Prog")->addItem("NEWS");
    store.Svc.SvcCount = 1;
    std::strcpy(store.Svc.NetName, "NET1");
    store.Ghost.GhostCount = 2;
    store.Ghost.GhostPidIn[1] = 300;
    const ConfigStore before = store;
    ASSERT_EQ(store.Svc.TsId, 1234);

    // The unsaved services and ghost entries are let go on Yes.
    boxes.QueueAnswers({QMessageBox::Yes});
    Control<QAbstractButton>("bt_Disconnect")->click();
    EXPECT_EQ(boxes.Texts(), QStringList{"Programs not saved will be lost. Continue?"});
    EXPECT_FALSE(TestApp().Channel->Connected());
    EXPECT_EQ(Control<QLabel>("lbl_Status")->text(), "Disconnected!");
    EXPECT_TRUE(Control("RedLed")->isVisible());
    EXPECT_TRUE(Control("bt_Connect")->isEnabled());
    EXPECT_TRUE(Action("mn_Connect")->isEnabled());
    EXPECT_TRUE(PortMenuEnabled());
    EXPECT_FALSE(Action("mn_Disconnect")->isEnabled());
    for (const char* name :
         {"bt_Disconnect", "bt_Add", "bt_Get", "bt_Open", "bt_Ghost", "txt_NameProg", "txt_NetName",
          "txt_TSID", "txt_BitRate", "bt_Edit", "bt_Delete", "bt_Clear", "bt_Save", "bt_Send"})
        EXPECT_FALSE(Control(name)->isEnabled()) << name;
    for (const char* name : {"txt_NameProg", "txt_NetName", "txt_TSID", "txt_BitRate"})
        EXPECT_TRUE(Box(name)->text().isEmpty()) << name;
    EXPECT_EQ(Control<QListWidget>("lst_Prog")->count(), 0);
    EXPECT_EQ(store.Svc.SvcCount, 0);
    EXPECT_EQ(store.Svc.TsId, 0);
    EXPECT_STREQ(store.Svc.NetName, "NET1");
    EXPECT_EQ(store.Ghost.GhostCount, 2);
    EXPECT_EQ(store.Ghost.GhostPidIn[1], 300);
    EXPECT_EQ(std::memcmp(store.Svc.RateGaps, before.Svc.RateGaps, sizeof store.Svc.RateGaps), 0);
    EXPECT_EQ(store.Svc.BitRate, 38000000);

    // The port is free again: a second Connect succeeds.
    Control<QAbstractButton>("bt_Connect")->click();
    EXPECT_TRUE(TestApp().Channel->Connected());
    EXPECT_EQ(boxes.Texts().size(), 1) << boxes.Last().toStdString();
}

TEST_F(MainWindowTest, ExitWhileConnectedClosesThePortFirst) {
    Connect(2);
    bool connectedAtEnd = true;
    Build().EndProcess = [&] {
        ++processEnds_;
        connectedAtEnd = TestApp().Channel->Connected();
    };
    Control<QAbstractButton>("bt_Exit")->click();
    EXPECT_EQ(processEnds_, 1);
    EXPECT_FALSE(connectedAtEnd);
    EXPECT_EQ(TestApp().Channel->ReceiveThreadCount(), 0);
}

} // namespace
} // namespace kv::test
