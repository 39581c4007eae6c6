// The network boxes of the main window: the keys they admit and what leaving
// them does to the store.

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QRadioButton>
#include <algorithm>
#include <cstring>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "tables/rate.h"

namespace kv::test {
namespace {

class NetworkBoxesTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Connect();
    }

    void ExpectRateFigures(int32_t shownRate, bool byteMode) {
        const RateTable table = ComputeRateGaps(shownRate, byteMode);
        const ConfigStore& store = TestApp().Store;
        EXPECT_TRUE(std::equal(table.Gaps.begin(), table.Gaps.end(), store.Svc.RateGaps));
        EXPECT_TRUE(std::equal(table.Gaps.begin(), table.Gaps.end(), store.Ghost.GhostRateGaps));
        EXPECT_EQ(store.Svc.RateStuff, table.Stuff);
        EXPECT_EQ(store.Ghost.GhostRateStuff, table.Stuff);
    }
};

TEST_F(NetworkBoxesTest, LeavingTheBitRateBoxShowsTheEffectiveRateAndStoresItsFigures) {
    struct Case {
        const char* typed;
        bool byteMode;
        const char* shown;
    };
    const Case cases[] = {
        {"38000000", true, "38001122"},
        {"100000000", false, "100019704"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Control<QRadioButton>(c.byteMode ? "rdg_ModeByte" : "rdg_ModePack")->setChecked(true);
        Enter(Box("txt_BitRate"), c.typed, Box("txt_TSID"));
        EXPECT_EQ(Box("txt_BitRate")->text(), c.shown);
        const ConfigStore& store = TestApp().Store;
        EXPECT_EQ(store.Svc.BitRate, QString(c.typed).toLongLong()); // the rate as typed
        EXPECT_EQ(store.Ghost.GhostBitRate, QString(c.typed).toLongLong());
        ExpectRateFigures(QString(c.shown).toInt(), c.byteMode);
    }
}

TEST_F(NetworkBoxesTest, TheModeAloneChangesNothingUntilTheBoxIsLeftAgain) {
    Enter(Box("txt_BitRate"), "27000000", Box("txt_TSID"));
    const ConfigStore byteMode = TestApp().Store;
    ASSERT_EQ(byteMode.Svc.RateStuff, 7);
    Control<QRadioButton>("rdg_ModePack")->setChecked(true);
    EXPECT_EQ(std::memcmp(&byteMode, &TestApp().Store, sizeof byteMode), 0);
    Leave(Box("txt_BitRate"), Box("txt_TSID"));
    ExpectRateFigures(27000000, false);
}

TEST_F(NetworkBoxesTest, PointsAreReadAsTheEndOfTheNumberAndARateOutOfRangeChangesNothing) {
    Enter(Box("txt_BitRate"), "38000000", Box("txt_TSID"));
    const ConfigStore before = TestApp().Store;

    BoxAnswerer boxes;
    // The tenth character does not fit the box; what is left reads as 27.
    Enter(Box("txt_BitRate"), "27.000.000", Box("txt_TSID"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Texts().size() == 1; }, 3000));
    EXPECT_EQ(boxes.Last(), "Bit rate must be between 503571 and 216000000 (Bps).");
    EXPECT_EQ(Box("txt_BitRate")->text(), "27.000.00");
    EXPECT_EQ(std::memcmp(&before, &TestApp().Store, sizeof before), 0);

    Control<QRadioButton>("rdg_ModePack")->setChecked(true);
    Enter(Box("txt_BitRate"), "1232222", Box("txt_TSID"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Texts().size() == 2; }, 3000));
    EXPECT_EQ(boxes.Last(), "Bit rate must be between 1232223 and 216000000 (Bps).");
    EXPECT_EQ(std::memcmp(&before, &TestApp().Store, sizeof before), 0);
}

TEST_F(NetworkBoxesTest, AnEmptyOrZeroBitRateIsIgnoredWithoutAWord) {
    Enter(Box("txt_BitRate"), "38000000", Box("txt_TSID"));
    const ConfigStore before = TestApp().Store;
    BoxAnswerer boxes;
    for (const char* typed : {"", "0", "000"}) {
        Enter(Box("txt_BitRate"), typed, Box("txt_TSID"));
        EXPECT_EQ(Box("txt_BitRate")->text(), typed);
    }
    QTest::qWait(50);
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(std::memcmp(&before, &TestApp().Store, sizeof before), 0);
}

TEST_F(NetworkBoxesTest, LeavingTheTsidBoxStoresItsNumber) {
    struct Case {
        const char* typed;
        uint16_t stored;
    };
    for (const Case& c : {Case{"0042", 42}, Case{"", 0}, Case{"9999", 9999}, Case{"1", 1}}) {
        TestApp().Store.Svc.TsId = 777;
        Enter(Box("txt_TSID"), c.typed, Box("txt_NetName"));
        EXPECT_EQ(TestApp().Store.Svc.TsId, c.stored) << c.typed;
    }
}

TEST_F(NetworkBoxesTest, LettersAreSwallowedInTheNumberBoxesButNotInTheNetworkName) {
    struct Case {
        const char* box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"txt_TSID", "1a2B-3 .4", "1234"},
        {"txt_TSID", "12345", "1234"},
        {"txt_BitRate", "3x8.0,0q+-e9", "38.0,09"},
        {"txt_BitRate", "1234567890", "123456789"},
        {"txt_NetName", "Net-Name #1", "Net-Name #"},
    };
    for (const Case& c : cases) {
        QLineEdit* box = Box(c.box);
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(box->text(), c.shown) << c.box << " " << c.typed;
    }
    // Paste shortcuts are refused like any other control character.
    QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
    QLineEdit* tsid = Box("txt_TSID");
    tsid->clear();
    QTest::keyClick(tsid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(tsid->text().isEmpty());
}

} // namespace
} // namespace kv::test
