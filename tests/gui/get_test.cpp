// "Get" from the main window against the simulated multiplexer: what a
// "Send Mux" stored comes back into the store and the window; a device that
// stays silent changes nothing.

#include "program_list_support.h"
#include "tables/image_layout.h"
#include "tables/image_writer.h"

namespace kv::test {
namespace {

class GetFromDevice : public ConnectedWindowTest {
  protected:
    void Press(const char* button) { Control<QAbstractButton>(button)->click(); }

    // "Send Mux", answered; then a new session: Disconnect empties the
    // window and the service count, Connect opens the line again.
    void SendAndReconnect() {
        {
            BoxAnswerer boxes;
            Press("bt_Send");
            ASSERT_EQ(boxes.Texts(), QStringList({"Process successful!"}));
        }
        Press("bt_Disconnect");
        ASSERT_TRUE(Entries().isEmpty());
        Press("bt_Connect");
        ASSERT_TRUE(TestApp().Channel->Connected());
    }

    QStringList NetworkBoxes() {
        return {Box("txt_NetName")->text(), Box("txt_BitRate")->text(), Box("txt_TSID")->text()};
    }
};

TEST_F(GetFromDevice, GetAfterSendMuxShowsTheSentProgramsAndNetworkSettings) {
    for (const bool pack : {false, true}) {
        SCOPED_TRACE(pack ? "Pack" : "Byte");
        FillServices(TestApp().Store, {"NEWS", "SPORT", "MOVIES"});
        Connect();
        Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
        Control<QRadioButton>(pack ? "rdg_ModePack" : "rdg_ModeByte")->click();
        SendAndReconnect();
        const auto sent = std::make_unique<ConfigStore>(TestApp().Store);
        Control<QRadioButton>(pack ? "rdg_ModeByte" : "rdg_ModePack")->click();

        BoxAnswerer boxes;
        Press("bt_Get");
        EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
        EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT", "MOVIES"}));
        EXPECT_EQ(NetworkBoxes(), QStringList({"BRIMCO NET", "38001122", "4660"}));
        EXPECT_EQ(PackShown(), pack);
        EXPECT_EQ(ContentButtonsOn().size(), 5);

        const ConfigStore& store = TestApp().Store;
        EXPECT_EQ(StoredNames(), std::vector<std::string>({"NEWS", "SPORT", "MOVIES"}));
        EXPECT_EQ(store.Svc.TsId, 4660);
        EXPECT_EQ(TestApp().PatVersion, 1);
        EXPECT_EQ(store.Svc.RateStuff, sent->Svc.RateStuff);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(store.Svc.SvcInput[i], sent->Svc.SvcInput[i]);
            EXPECT_EQ(store.Svc.SvcPmtPid[i], sent->Svc.SvcPmtPid[i]);
            EXPECT_EQ(store.Svc.SvcPids[i].VideoIn, sent->Svc.SvcPids[i].VideoIn);
            EXPECT_EQ(store.Svc.SvcPids[i].Audio[0].PidOut, sent->Svc.SvcPids[i].Audio[0].PidOut);
        }
        Restart();
    }
}

// The device holds ghost entries only, the window services of its own: "Get"
// leaves no service behind, reads every ghost entry and shows the device's
// rate; the list and the TSID box stay empty, "Save" and "Send Mux" on, and
// the window holds nothing unsaved.
TEST_F(GetFromDevice, GetOfAGhostOnlyDeviceOverServicesLeavesOnlyItsGhostEntries) {
    auto held = std::make_unique<ConfigStore>();
    held->Ghost.GhostCount = 2;
    for (int j = 0; j < 2; ++j) {
        held->Ghost.GhostInput[j] = 2;
        held->Ghost.GhostPidIn[j] = static_cast<int16_t>(0x100 + j); // the output PIDs of NEWS
        held->Ghost.GhostPidOut[j] = static_cast<int16_t>(0x100 + j);
    }
    ASSERT_EQ(ApplyBitRateEntry(*held, "27000000", true).outcome, BitRateEntry::Outcome::Applied);
    StartSimulator(1, {}, BuildConfigImage(*held, 4));
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    Connect();
    ASSERT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    Control<QRadioButton>("rdg_ModePack")->click();

    BoxAnswerer boxes;
    Press("bt_Get");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
    const ConfigStore& store = TestApp().Store;
    EXPECT_EQ(store.Svc.SvcCount, 0);
    ASSERT_EQ(store.Ghost.GhostCount, 2);
    for (int j = 0; j < 2; ++j) {
        EXPECT_EQ(store.Ghost.GhostInput[j], 2);
        EXPECT_EQ(store.Ghost.GhostPidIn[j], 0x100 + j);
        EXPECT_EQ(store.Ghost.GhostPidOut[j], 0x100 + j);
    }
    EXPECT_EQ(store.Ghost.GhostBitRate, 27000000);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Box("txt_BitRate")->text(), "27000000");
    EXPECT_FALSE(PackShown());
    EXPECT_EQ(ContentButtonsOn(), QStringList({"bt_Save", "bt_Send"}));
    EXPECT_FALSE(TestApp().Saved.Changed(store));
}

TEST_F(GetFromDevice, SilentDeviceSaysMuxMemoryIsEmptyAndChangesNothing) {
    SimulatorOptions silent;
    silent.Fault = SimulatorFault::Silent;
    StartSimulator(1, silent);
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    Connect();
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    TestApp().Timing.SilenceMs = 300;
    TestApp().PatVersion = 5;
    const std::vector<uint8_t> store = BytesOf(TestApp().Store);
    const QStringList boxesBefore = NetworkBoxes();
    const QStringList buttonsBefore = ContentButtonsOn();

    BoxAnswerer boxes;
    Press("bt_Get");
    EXPECT_EQ(boxes.Texts(), QStringList({"Mux memory is empty!"}));
    EXPECT_EQ(boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Warning}));
    EXPECT_EQ(BytesOf(TestApp().Store), store);
    EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    EXPECT_EQ(NetworkBoxes(), boxesBefore);
    EXPECT_EQ(ContentButtonsOn(), buttonsBefore);
    EXPECT_EQ(TestApp().PatVersion, 5);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the wait cursor is gone
}

// The device holds an image whose PID maps of inputs 2 and 5 are broken:
// one "Error in file." each, and the rest of the image is read all the same.
TEST_F(GetFromDevice, EveryBrokenPidMapGivesOneErrorInFile) {
    auto held = std::make_unique<ConfigStore>();
    FillServices(*held, {"NEWS", "SPORT"});
    std::vector<uint8_t> image = BuildConfigImage(*held, 3);
    for (const int input : {2, 5}) image[PidMapIndex(input) * RecordSize + RecordTypeAt] = 0x09;
    StartSimulator(1, {}, image);
    Connect();

    BoxAnswerer boxes;
    Press("bt_Get");
    EXPECT_EQ(boxes.Texts(), QStringList({"Error in file.", "Error in file."}));
    EXPECT_EQ(boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Critical, QMessageBox::Critical}));
    EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    EXPECT_EQ(TestApp().PatVersion, 3);
    EXPECT_EQ(TestApp().Store.Svc.SvcInput[0], 1); // input 1's map was read
}

} // namespace
} // namespace kv::test
