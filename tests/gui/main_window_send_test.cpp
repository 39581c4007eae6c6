// "Send Mux" from the main window against the simulated multiplexer and its
// refusals.

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstring>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "model/model_test_support.h"
#include "model/store_ops.h"
#include "ops/bit_rate_entry.h"
#include "tables/image_layout.h"

namespace kv::test {
namespace {

constexpr std::size_t PatRecordOffset = PatIndex * RecordSize;

class SendMuxTest : public MainWindowTest {
  protected:
    // The window shown over a store with `names` as services, then connected
    // to the simulator on port 1.
    void ConnectWithServices(std::initializer_list<const char*> names) {
        Build();
        FillServices(TestApp().Store, names);
        Connect();
        ASSERT_TRUE(Control("bt_Send")->isEnabled());
    }

    int PatVersionInImage() {
        const std::vector<uint8_t> image = ReadFile(TestApp().ImageFile);
        EXPECT_GT(image.size(), PatRecordOffset + 10);
        if (image.size() <= PatRecordOffset + 10) return -1;
        return (image[PatRecordOffset + 10] & 0x3E) >> 1;
    }

    bool ImageWritten() { return std::filesystem::exists(TestApp().ImageFile); }
};

TEST_F(MainWindowTest, SendMuxWithoutConnectionSaysThereIsNoSerialLink) {
    Build();
    FillServices(TestApp().Store, {"NEWS"});
    Shown(); // the stored service enables "Send Mux"
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), QStringLiteral("Sem comunicação serial."));
    EXPECT_EQ(TestApp().PatVersion, 0);
    EXPECT_FALSE(std::filesystem::exists(TestApp().ImageFile));
}

TEST_F(SendMuxTest, TwoSendsInARowSucceedWithPatVersionsOneAndTwo) {
    ConnectWithServices({"NEWS"});
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(TestApp().PatVersion, 1);
    EXPECT_EQ(PatVersionInImage(), 1);
    EXPECT_EQ(simulator_->StoredImage(), ReadFile(TestApp().ImageFile));
    EXPECT_EQ(ReadFile(TestApp().ReadBackFile), ReadFile(TestApp().ImageFile));

    // "Send Mux" stores the shown rate and the TSID box.
    const ConfigStore& store = TestApp().Store;
    EXPECT_EQ(store.Svc.BitRate, 38001122);
    EXPECT_EQ(store.Ghost.GhostBitRate, 38001122);
    EXPECT_EQ(store.Svc.TsId, 4660);

    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(PatVersionInImage(), 2);
    EXPECT_EQ(simulator_->StoredImage(), ReadFile(TestApp().ImageFile));
    EXPECT_TRUE(TestApp().Channel->Connected());
}

TEST_F(SendMuxTest, PatVersionWrapsAfterThirtyOne) {
    ConnectWithServices({"NEWS"});
    TestApp().PatVersion = 31;
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(TestApp().PatVersion, 0);
    EXPECT_EQ(PatVersionInImage(), 0);
}

// Refusals come before anything is written or sent, and spend no PAT version.
TEST_F(SendMuxTest, RatesOutsideTheRangeAreRefusedBeforeSending) {
    ConnectWithServices({"NEWS"});
    struct Case {
        const char* typed;
        const char* warning;
    };
    const Case cases[] = {
        {"27.000.00", "Bit rate must be between 503571 and 216000000 (Bps)."},
        {"216000001", "Bit rate must be between 503571 and 216000000 (Bps)."},
        {"", "Bit rate must be between 503571 and 216000000 (Bps)."},
        {"0", "Bit rate must be between 503571 and 216000000 (Bps)."},
    };
    BoxAnswerer boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Box("txt_BitRate")->setText(c.typed);
        const int before = boxes.Texts().size();
        Control<QAbstractButton>("bt_Send")->click();
        ASSERT_EQ(boxes.Texts().size(), before + 1);
        EXPECT_EQ(boxes.Last(), c.warning);
        EXPECT_EQ(TestApp().PatVersion, 0);
        EXPECT_FALSE(ImageWritten());
        EXPECT_EQ(simulator_->LoadsCompleted(), 0);
    }
}

TEST_F(SendMuxTest, MoreServicesThanThePatHoldsAreRefusedBeforeSending) {
    ConnectWithServices({"NEWS"});
    ConfigStore& store = TestApp().Store;
    // 42 services: one more than a PAT packet can announce.
    InitServiceSlots(store.Svc, 42);
    for (int i = 0; i < 42; ++i) {
        store.Svc.SvcInput[i] = static_cast<int16_t>(1 + i % 8);
        store.Svc.SvcPmtPid[i] = static_cast<int16_t>(300 + i);
        store.Svc.SvcPids[i].PmtPid = store.Svc.SvcPmtPid[i];
        SetText(store.Svc.SvcInfo[i].Name, "P");
    }
    store.Svc.SvcCount = 42;
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), "Limited 41 programs per Mux.");
    EXPECT_EQ(TestApp().PatVersion, 0);
    EXPECT_FALSE(ImageWritten());
}

// The window does not watch the line: a lost link shows as the transfer's
// code and the window stays connected.
TEST_F(SendMuxTest, ALostLineGivesError11AndTheWindowStaysConnected) {
    ConnectWithServices({"NEWS"});
    simulator_->Stop(); // the device side of the line is gone
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_GE(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), "Error 11") << boxes.Texts().join("|").toStdString();
    EXPECT_EQ(Control<QLabel>("lbl_Status")->text(), "Connected!");
}

// The transfer runs off the GUI thread: while a silent device keeps "Send
// Mux" waiting, a timer fires on time, prg_Transfer shows the wait, and
// "Send Mux" cannot start a second transfer.
TEST_F(SendMuxTest, SilentDeviceLeavesTheWindowAnsweringUntilError3) {
    SimulatorOptions silent;
    silent.Fault = SimulatorFault::Silent;
    StartSimulator(1, silent);
    TestApp().Timing.SilenceMs = 3000;
    ConnectWithServices({"NEWS"});
    auto* send = Control<QAbstractButton>("bt_Send");
    auto* bar = Control<QProgressBar>("prg_Transfer");
    EXPECT_FALSE(bar->isVisible());

    constexpr int FireAfterMs = 2500; // after the load wait of 1 s and the sending
    QElapsedTimer clock;
    qint64 firedAfter = -1;
    bool sendEnabled = true;
    bool barVisible = false;
    QString barText;
    int barValue = -1;
    QTimer::singleShot(FireAfterMs, [&] {
        firedAfter = clock.elapsed();
        sendEnabled = send->isEnabled() || Control("grp_Program")->isEnabled();
        barVisible = bar->isVisible();
        barText = bar->text();
        barValue = bar->value();
        send->click(); // disabled: starts nothing
    });
    BoxAnswerer boxes;
    clock.start();
    send->click();
    EXPECT_GE(clock.elapsed(), 3000);
    EXPECT_NEAR(firedAfter, FireAfterMs, 1000) << "the window did not answer during the transfer";
    EXPECT_FALSE(sendEnabled);
    EXPECT_TRUE(barVisible);
    EXPECT_EQ(barText, QStringLiteral("Waiting for the header: %1 records").arg(barValue));
    ASSERT_EQ(boxes.Texts().size(), 1) << boxes.Texts().join("|").toStdString();
    EXPECT_EQ(boxes.Last(), "Error 3");
    EXPECT_TRUE(boxes.Details().back().startsWith(
        "no configuration header within 3 s: the device sent nothing at all. Is it powered, on this port, "
        "and the cable's RTS/CTS wired?"))
        << boxes.Details().back().toStdString();
    EXPECT_TRUE(send->isEnabled());
    EXPECT_FALSE(bar->isVisible());
}

// After a transfer the menu items are enabled exactly as their buttons, so
// their keys work at once.
TEST_F(SendMuxTest, AfterSendMuxAndGetTheMenuItemsFollowTheirButtons) {
    ConnectWithServices({"NEWS"});
    TestApp().Timing.LoadWaitMs = 20;
    const std::pair<const char*, const char*> items[] = {{"bt_Open", "mn_Open"}, {"bt_Save", "mn_Save"},
                                                         {"bt_Get", "mn_Get"},   {"bt_Send", "mn_Send"},
                                                         {"bt_Edit", "mn_Edit"}, {"bt_Ghost", "mn_Ghost"}};
    BoxAnswerer boxes;
    for (const char* transfer : {"bt_Send", "bt_Get"}) {
        Control<QAbstractButton>(transfer)->click();
        ASSERT_EQ(boxes.Texts().size(), 1) << transfer << ": " << boxes.Texts().join("|").toStdString();
        for (const auto& [button, item] : items)
            EXPECT_EQ(Action(item)->isEnabled(), Control(button)->isEnabled()) << transfer << ": " << item;
        EXPECT_TRUE(Action("mn_Save")->isEnabled()) << transfer;
    }
    // Ctrl+M sends again, Ctrl+S and Ctrl+O open their dialogs.
    Activate(&Shown());
    QTest::keyClick(&Shown(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    for (const auto& [key, dialog] : {std::pair{Qt::Key_S, "dlg_Save"}, std::pair{Qt::Key_O, "dlg_Open"}}) {
        bool opened = false;
        WhenModal<QFileDialog>([&](QFileDialog* d) {
            opened = d->objectName() == dialog;
            d->reject();
        });
        Activate(&Shown());
        QTest::keyClick(&Shown(), key, Qt::ControlModifier);
        EXPECT_TRUE(opened) << dialog;
    }
}

} // namespace
} // namespace kv::test
