// "Send Mux" from the main window against the simulated multiplexer and its
// refusals.

#include <QAbstractButton>
#include <QLabel>
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
        FillServices(ui::App().Store, names);
        Connect();
        ASSERT_TRUE(Control("bt_Send")->isEnabled());
    }

    int PatVersionInImage() {
        const std::vector<uint8_t> image = ReadFile(ui::App().ImageFile);
        EXPECT_GT(image.size(), PatRecordOffset + 10);
        if (image.size() <= PatRecordOffset + 10) return -1;
        return (image[PatRecordOffset + 10] & 0x3E) >> 1;
    }

    bool ImageWritten() { return std::filesystem::exists(ui::App().ImageFile); }
};

TEST_F(MainWindowTest, SendMuxWithoutConnectionSaysThereIsNoSerialLink) {
    Build();
    FillServices(ui::App().Store, {"NEWS"});
    Shown(); // the stored service enables "Send Mux"
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), QStringLiteral("Sem comunicação serial."));
    EXPECT_EQ(ui::App().PatVersion, 0);
    EXPECT_FALSE(std::filesystem::exists(ui::App().ImageFile));
}

TEST_F(SendMuxTest, TwoSendsInARowSucceedWithPatVersionsOneAndTwo) {
    ConnectWithServices({"NEWS"});
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(ui::App().PatVersion, 1);
    EXPECT_EQ(PatVersionInImage(), 1);
    EXPECT_EQ(simulator_->StoredImage(), ReadFile(ui::App().ImageFile));
    EXPECT_EQ(ReadFile(ui::App().ReadBackFile), ReadFile(ui::App().ImageFile));

    // "Send Mux" stores the shown rate and the TSID box.
    const ConfigStore& store = ui::App().Store;
    EXPECT_EQ(store.Svc.BitRate, 38001122);
    EXPECT_EQ(store.Ghost.GhostBitRate, 38001122);
    EXPECT_EQ(store.Svc.TsId, 4660);

    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(PatVersionInImage(), 2);
    EXPECT_EQ(simulator_->StoredImage(), ReadFile(ui::App().ImageFile));
    EXPECT_TRUE(ui::App().Channel->Connected());
}

TEST_F(SendMuxTest, PatVersionWrapsAfterThirtyOne) {
    ConnectWithServices({"NEWS"});
    ui::App().PatVersion = 31;
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(ui::App().PatVersion, 0);
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
        EXPECT_EQ(ui::App().PatVersion, 0);
        EXPECT_FALSE(ImageWritten());
        EXPECT_EQ(simulator_->LoadsCompleted(), 0);
    }
}

TEST_F(SendMuxTest, MoreServicesThanThePatHoldsAreRefusedBeforeSending) {
    ConnectWithServices({"NEWS"});
    ConfigStore& store = ui::App().Store;
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
    EXPECT_EQ(ui::App().PatVersion, 0);
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

} // namespace
} // namespace kv::test
