// The ghost PID editor as the operator drives it: typing, Add, row choice,
// Delete, Clear and Exit against the one store.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "tables/tables_test_support.h"
#include "ui/app_state.h"
#include "ui/kv2208_ghost.h"

namespace {

struct Entry {
    int input, pidIn, pidOut;
};

class GhostEditor : public ::testing::Test {
  protected:
    void SetUp() override { std::memset(&kv::test::TestApp().Store, 0, sizeof(kv::ConfigStore)); }

    static kv::GhostBlock& Ghosts() { return kv::test::TestApp().Store.Ghost; }

    static void StoreEntries(const std::vector<Entry>& entries) {
        Ghosts().GhostCount = 0;
        for (const Entry& e : entries)
            kv::test::AddGhost(kv::test::TestApp().Store, e.input, static_cast<int16_t>(e.pidIn),
                               static_cast<int16_t>(e.pidOut));
    }

    void Open() {
        dlg_ = std::make_unique<Tfrm_CfgGhost>(kv::test::TestApp().Store, [this] { ++enableCalls_; });
        dlg_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg_.get()));
    }

    template <typename T> T* Control(const char* name) {
        T* w = dlg_->findChild<T*>(QString::fromLatin1(name));
        if (!w) throw std::runtime_error(std::string("no control ") + name);
        return w;
    }
    QTreeWidget* List() { return Control<QTreeWidget>("lst_Ghost"); }
    QLineEdit* PidIn() { return Control<QLineEdit>("txt_PidInGhost"); }
    QLineEdit* PidOut() { return Control<QLineEdit>("txt_PidOutGhost"); }
    QComboBox* Input() { return Control<QComboBox>("cb_InASI"); }
    void Press(const char* button) { Control<QPushButton>(button)->click(); }

    void ChooseHexadecimal() {
        for (QRadioButton* r : Control<QGroupBox>("rdg_PidEdit")->findChildren<QRadioButton*>())
            if (r->text() == QStringLiteral("HexaDecimal")) r->click();
    }
    void ChooseInput(int input) { Input()->setCurrentIndex(input - 1); }
    void Type(const char* pidIn, const char* pidOut) {
        PidIn()->clear();
        PidOut()->clear();
        QTest::keyClicks(PidIn(), QString::fromLatin1(pidIn));
        QTest::keyClicks(PidOut(), QString::fromLatin1(pidOut));
    }
    void Enter(int input, const char* pidIn, const char* pidOut) {
        ChooseInput(input);
        Type(pidIn, pidOut);
        Press("bt_Add");
    }
    void ClickRow(int row) {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualItemRect(item).center());
    }

    QStringList RowTexts(int row) {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        if (!item) return {};
        return {item->text(0), item->text(1), item->text(2)};
    }

    static void ExpectStored(const std::vector<Entry>& entries) {
        const kv::GhostBlock& g = Ghosts();
        ASSERT_EQ(g.GhostCount, static_cast<int>(entries.size()));
        for (std::size_t j = 0; j < entries.size(); ++j) {
            SCOPED_TRACE(j);
            EXPECT_EQ(g.GhostInput[j], entries[j].input);
            EXPECT_EQ(g.GhostPidIn[j], entries[j].pidIn);
            EXPECT_EQ(g.GhostPidOut[j], entries[j].pidOut);
        }
    }

    std::unique_ptr<Tfrm_CfgGhost> dlg_;
    int enableCalls_ = 0;
};

TEST_F(GhostEditor, OpensWithItsControlsInTheirStartStates) {
    Open();
    EXPECT_EQ(dlg_->objectName(), QStringLiteral("frm_CfgGhost"));
    EXPECT_EQ(dlg_->windowTitle(), QStringLiteral("KV2200-8 Multiplixer 8x1 - Brimco"));
    EXPECT_EQ(Input()->count(), 8);
    EXPECT_EQ(Input()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(PidIn()->maxLength(), 4);
    EXPECT_EQ(PidOut()->maxLength(), 4);
    EXPECT_FALSE(Control<QPushButton>("bt_Delete")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("bt_Clear")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>("rdg_PidEdit")->isEnabled());
    EXPECT_EQ(Control<QPushButton>("bt_Exit")->text(), QStringLiteral("Exit "));
    EXPECT_EQ(Control<QPushButton>("bt_Add")->toolTip(), QStringLiteral("Insert item into Program list"));
    QTreeWidgetItem* header = List()->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("IN"));
    EXPECT_EQ(header->text(1), QStringLiteral("PID IN"));
    EXPECT_EQ(header->text(2), QStringLiteral("PID OUT"));
    EXPECT_EQ(List()->columnWidth(0), 25);
    EXPECT_EQ(List()->columnWidth(1), 60);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
}

TEST_F(GhostEditor, ThreeStoredEntriesAreListedAndWrittenBackUnchanged) {
    const std::vector<Entry> stored = {{1, 32, 40}, {5, 256, 300}, {8, 8190, 20}};
    StoreEntries(stored);
    Open();
    ASSERT_EQ(List()->topLevelItemCount(), 3);
    EXPECT_EQ(RowTexts(0), (QStringList{"1", "  32", "  40"}));
    EXPECT_EQ(RowTexts(1), (QStringList{"5", " 256", " 300"}));
    EXPECT_EQ(RowTexts(2), (QStringList{"8", "8190", "  20"}));
    EXPECT_TRUE(Control<QPushButton>("bt_Delete")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("bt_Clear")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>("rdg_PidEdit")->isEnabled());

    Ghosts().GhostPidIn[0] = 1000; // Exit must write the rows, not leave the table alone
    Press("bt_Exit");
    EXPECT_FALSE(dlg_->isVisible());
    ExpectStored(stored);
    EXPECT_EQ(enableCalls_, 1);
}

TEST_F(GhostEditor, HexadecimalEntryIsStoredAsItsValue) {
    Open();
    ChooseHexadecimal();
    Enter(3, "100", "1FF");
    ASSERT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_EQ(RowTexts(0), (QStringList{"3", "0100", "01FF"}));
    EXPECT_TRUE(PidIn()->text().isEmpty());
    EXPECT_TRUE(PidOut()->text().isEmpty());
    EXPECT_FALSE(Control<QGroupBox>("rdg_PidEdit")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("bt_Delete")->isEnabled());

    Press("bt_Exit");
    ExpectStored({{3, 256, 511}});
    EXPECT_EQ(enableCalls_, 1);
}

TEST_F(GhostEditor, TheSameEntryTwiceIsRefusedButAnotherInputIsAccepted) {
    kv::test::BoxAnswerer boxes;
    Open();
    Enter(1, "100", "200");
    Enter(1, "100", "200");
    EXPECT_EQ(boxes.Texts(), QStringList{"Items already exist in list!"});
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_EQ(PidIn()->text(), QStringLiteral("100")); // refused: the fields stay as typed

    // Another input on its own output PID (two sources on PID 200 are refused).
    Enter(2, "100", "201");
    EXPECT_EQ(boxes.Texts().size(), 1);
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(1), (QStringList{"2", " 100", " 201"}));
}

TEST_F(GhostEditor, EnterRunsAddAndReturnsToPidInOtherRefusedKeysAreSwallowed) {
    kv::test::BoxAnswerer boxes;
    Open();
    dlg_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg_.get()));

    ChooseInput(4);
    Type("50", "60");
    PidOut()->setFocus();
    QTest::keyClick(PidOut(), Qt::Key_Return);
    Type("51", "61");
    QTest::keyClick(PidIn(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(0), (QStringList{"4", "  50", "  60"}));
    EXPECT_EQ(RowTexts(1), (QStringList{"4", "  51", "  61"}));
    EXPECT_EQ(QApplication::focusWidget(), PidIn());

    // A typo is swallowed like in every filtered box: no Add, no message.
    Type("7", "8");
    QTest::keyClick(PidIn(), Qt::Key_X);
    QTest::keyClick(PidOut(), Qt::Key_G);
    EXPECT_EQ(PidIn()->text(), QStringLiteral("7"));
    EXPECT_EQ(PidOut()->text(), QStringLiteral("8"));
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();

    // Tab moves on to the next box.
    PidIn()->setFocus();
    QTest::keyClick(PidIn(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), PidOut());

    // Escape leaves the editor open with its rows; "Exit " leaves it.
    QTest::keyClick(PidOut(), Qt::Key_Escape);
    QTest::keyClick(dlg_.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg_->isVisible());
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    Press("bt_Exit");
    EXPECT_EQ(Ghosts().GhostCount, 2);
}

TEST_F(GhostEditor, ChoosingARowLoadsItIntoTheFields) {
    StoreEntries({{1, 32, 40}, {6, 300, 301}});
    Open();
    ClickRow(1);
    EXPECT_EQ(Input()->currentText(), QStringLiteral("6"));
    EXPECT_EQ(PidIn()->text(), QStringLiteral("300"));
    EXPECT_EQ(PidOut()->text(), QStringLiteral("301"));
}

TEST_F(GhostEditor, DeletingEveryRowThenExitEmptiesTheStoredTable) {
    const std::vector<Entry> stored = {{2, 100, 101}, {3, 102, 103}};
    StoreEntries(stored);
    Open();
    for (int left = 2; left > 0; --left) {
        ClickRow(0);
        Press("bt_Delete");
        EXPECT_EQ(List()->topLevelItemCount(), left - 1);
        EXPECT_TRUE(PidIn()->text().isEmpty());
    }
    EXPECT_FALSE(Control<QPushButton>("bt_Delete")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("bt_Clear")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>("rdg_PidEdit")->isEnabled());
    ExpectStored(stored); // Delete does not touch the store

    Press("bt_Exit");
    ExpectStored({});
    EXPECT_EQ(enableCalls_, 0);
}

TEST_F(GhostEditor, ClearEmptiesTheStoredTableAtOnceOnYesOnly) {
    StoreEntries({{2, 100, 101}, {3, 102, 103}});
    kv::test::BoxAnswerer boxes;
    boxes.QueueAnswers({QMessageBox::No, QMessageBox::Yes});
    Open();
    ChooseInput(5);

    Press("bt_Clear");
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_EQ(Ghosts().GhostCount, 2);

    Press("bt_Clear");
    EXPECT_EQ(boxes.Texts(), (QStringList{"Delete all items?", "Delete all items?"}));
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(Ghosts().GhostCount, 0); // before Exit
    EXPECT_EQ(Input()->currentText(), QStringLiteral("1"));
    EXPECT_FALSE(Control<QPushButton>("bt_Clear")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>("rdg_PidEdit")->isEnabled());

    Press("bt_Exit");
    EXPECT_EQ(Ghosts().GhostCount, 0);
    EXPECT_EQ(enableCalls_, 0);
}

TEST_F(GhostEditor, FortyFourStoredPidsRefuseANewRowButNotAReplacement) {
    std::vector<Entry> stored;
    for (int j = 0; j < 44; ++j) stored.push_back({2, 100 + j, 200 + j});
    StoreEntries(stored);
    kv::test::BoxAnswerer boxes;
    Open();

    Enter(2, "999", "999");
    EXPECT_EQ(boxes.Texts(), QStringList{"Limited 44 Pid per IN."});
    EXPECT_EQ(List()->topLevelItemCount(), 44);

    ClickRow(5);
    Type("999", "998");
    Press("bt_Add");
    EXPECT_EQ(boxes.Texts().size(), 1);
    ASSERT_EQ(List()->topLevelItemCount(), 44);
    EXPECT_EQ(RowTexts(5), (QStringList{"2", " 999", " 998"}));
    EXPECT_TRUE(List()->selectedItems().isEmpty()); // a decimal replacement ends the choice

    Press("bt_Exit");
    stored[5] = {2, 999, 998};
    ExpectStored(stored);
}

TEST_F(GhostEditor, AHexadecimalReplacementKeepsTheRowChosen) {
    StoreEntries({{1, 32, 40}, {1, 50, 60}});
    Open();
    ChooseHexadecimal();
    ClickRow(0);
    Type("1FF", "200");
    Press("bt_Add");
    EXPECT_EQ(RowTexts(0), (QStringList{"1", "01FF", "0200"}));
    ASSERT_EQ(List()->selectedItems().size(), 1);
    EXPECT_EQ(List()->indexOfTopLevelItem(List()->selectedItems().first()), 0);

    Type("ABC", "DEF"); // the next Add replaces the same row again
    Press("bt_Add");
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(0), (QStringList{"1", "0ABC", "0DEF"}));
    EXPECT_EQ(RowTexts(1), (QStringList{"1", "  50", "  60"}));

    Press("bt_Exit");
    ExpectStored({{1, 0xABC, 0xDEF}, {1, 50, 60}});
}

TEST_F(GhostEditor, A353rdRowIsRefused) {
    // 352 entries on input 1 leave input 2 below its own limit: only the
    // table's size stops the new row.
    std::vector<Entry> stored;
    for (int j = 0; j < kv::MaxGhosts; ++j) stored.push_back({1, j, j});
    StoreEntries(stored);
    kv::test::BoxAnswerer boxes;
    Open();

    Enter(2, "4000", "4000");
    EXPECT_EQ(boxes.Texts(), QStringList{"Limited 352 ghost PIDs."});
    EXPECT_EQ(List()->topLevelItemCount(), kv::MaxGhosts);

    ClickRow(0);
    Type("4000", "4000");
    Press("bt_Add");
    EXPECT_EQ(boxes.Texts().size(), 1);
    Press("bt_Exit");
    EXPECT_EQ(Ghosts().GhostCount, kv::MaxGhosts);
    EXPECT_EQ(Ghosts().GhostPidIn[0], 4000);
}

TEST_F(GhostEditor, DeleteWithoutAChosenRowRemovesNothing) {
    StoreEntries({{2, 100, 101}, {3, 102, 103}});
    kv::test::BoxAnswerer boxes;
    Open();

    Press("bt_Delete"); // empty PID IN
    Type("100", "");
    Press("bt_Delete"); // text, but no row chosen
    EXPECT_EQ(boxes.Texts(), (QStringList{"Choose item, please.", "Choose item, please."}));
    EXPECT_EQ(List()->topLevelItemCount(), 2);
}

TEST_F(GhostEditor, PidTextsWithoutANumberOrAboveThePidRangeAreRefused) {
    struct Case {
        bool hexadecimal;
        const char *pidIn, *pidOut, *message;
    };
    const Case cases[] = {
        {false, ".", "40", "Enter PID IN and PID OUT, please."},
        {true, "40", "FFFF", "PID must be between 0 and 8191."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pidIn) + " / " + c.pidOut);
        kv::test::BoxAnswerer boxes;
        Open();
        if (c.hexadecimal) ChooseHexadecimal();
        Enter(1, c.pidIn, c.pidOut);
        EXPECT_EQ(boxes.Texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(List()->topLevelItemCount(), 0);
    }
}

TEST_F(GhostEditor, ClosingOtherThanByExitWritesNothing) {
    StoreEntries({{2, 100, 101}});
    Open();
    Enter(4, "300", "301");
    ASSERT_EQ(List()->topLevelItemCount(), 2);
    dlg_->reject();
    ExpectStored({{2, 100, 101}});
    EXPECT_EQ(enableCalls_, 0);
}

} // namespace
