// The program list of the main window: Add (and Enter), the duplicate and
// rename questions, Select, Delete, Clear and the buttons they switch. A
// program's service is found by its name.

#include "program_list_support.h"

namespace kv::test {
namespace {

const QString NameExists = QStringLiteral("Name already exist. \n Do you replace them?");
const QString ChangeName = QStringLiteral("Do you wish change Program Name?");

using ProgramList = ConnectedWindowTest;

TEST_F(ProgramList, FirstNameEnablesEditDeleteClearAndSaveButNotSend) {
    Connect();
    ASSERT_TRUE(ContentButtonsOn().isEmpty());
    BoxAnswerer boxes;
    AddNames({"NEWS"});
    EXPECT_EQ(Entries(), QStringList({"NEWS"}));
    EXPECT_EQ(ContentButtonsOn(), QStringList({"bt_Edit", "bt_Delete", "bt_Clear", "bt_Save"}));
    EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
    EXPECT_TRUE(SelectedRows().isEmpty());
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(TestApp().Store.Svc.SvcCount, 0); // a name gets its service in the editor
}

TEST_F(ProgramList, EnterInTheNameBoxAddsLikeTheButton) {
    Connect();
    TypeName("SPORT");
    QTest::keyClick(Box("txt_NameProg"), Qt::Key_Return);
    TypeName("MOVIES");
    QTest::keyClick(Box("txt_NameProg"), Qt::Key_Enter);
    EXPECT_EQ(Entries(), QStringList({"SPORT", "MOVIES"}));
    EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
}

TEST_F(ProgramList, EmptyOrBlankNameWarnsAddsNothingAndClearsTheSelection) {
    Connect();
    AddNames({"NEWS"});
    for (const QString& typed : {QString(), QStringLiteral("   ")}) {
        SCOPED_TRACE(typed.toStdString());
        ClickEntry(0);
        TypeName(typed);
        BoxAnswerer boxes;
        PressAdd();
        EXPECT_EQ(boxes.Texts(), QStringList({"Enter name, please."}));
        EXPECT_EQ(boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Warning}));
        EXPECT_EQ(Entries(), QStringList({"NEWS"}));
        EXPECT_EQ(Box("txt_NameProg")->text(), typed);
        EXPECT_TRUE(SelectedRows().isEmpty());
    }
}

TEST_F(ProgramList, DuplicateAnsweredYesLeavesListNameBoxAndSelection) {
    Connect();
    AddNames({"NEWS", "SPORT"});
    ClickEntry(1);
    TypeName("NEWS");
    BoxAnswerer boxes(QMessageBox::Yes);
    PressAdd();
    EXPECT_EQ(boxes.Texts(), QStringList({NameExists}));
    EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    EXPECT_EQ(Box("txt_NameProg")->text(), "NEWS");
    EXPECT_EQ(SelectedRows(), QList<int>({1}));
}

// Every entry of the same text asks; No to all, with nothing selected,
// appends one more.
TEST_F(ProgramList, DuplicateAnsweredNoAsksForEveryEqualEntryThenAppends) {
    Connect();
    AddNames({"NEWS"});
    {
        BoxAnswerer boxes(QMessageBox::No);
        AddNames({"NEWS"});
        EXPECT_EQ(boxes.Texts(), QStringList({NameExists}));
    }
    BoxAnswerer boxes(QMessageBox::No);
    AddNames({"NEWS"});
    EXPECT_EQ(boxes.Texts(), QStringList({NameExists, NameExists}));
    EXPECT_EQ(Entries(), QStringList({"NEWS", "NEWS", "NEWS"}));
    EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
}

// Entry 2 selected, NEWS typed, Enter: the rename question. Services are
// stored in list order in one case and out of it in the other; the renamed
// program's own service takes the new name either way.
TEST_F(ProgramList, RenameWithAndWithoutServices) {
    struct Case {
        const char* what;
        std::initializer_list<const char*> services;
        QMessageBox::StandardButton answer;
        QStringList entries;
        std::vector<std::string> storedAfter;
    };
    const Case cases[] = {
        {"in list order, Yes",
         {"KIDS", "SPORT", "MOVIES"},
         QMessageBox::Yes,
         {"KIDS", "SPORT", "NEWS"},
         {"KIDS", "SPORT", "NEWS"}},
        {"out of list order, Yes",
         {"MOVIES", "KIDS"},
         QMessageBox::Yes,
         {"KIDS", "SPORT", "NEWS"},
         {"NEWS", "KIDS"}},
        {"no services, Yes", {}, QMessageBox::Yes, {"KIDS", "SPORT", "NEWS"}, {}},
        {"in list order, No",
         {"KIDS", "SPORT", "MOVIES"},
         QMessageBox::No,
         {"KIDS", "SPORT", "MOVIES", "NEWS"},
         {"KIDS", "SPORT", "MOVIES"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Connect();
        AddNames({"KIDS", "SPORT", "MOVIES"});
        FillServices(TestApp().Store, c.services); // as the editor stored them
        const ServiceInfo otherSlots = TestApp().Store.Svc.SvcInfo[c.services.size()];

        ClickEntry(2);
        EXPECT_EQ(Box("txt_NameProg")->text(), "MOVIES");
        TypeName("NEWS");
        BoxAnswerer boxes(c.answer);
        QTest::keyClick(Box("txt_NameProg"), Qt::Key_Return);
        EXPECT_EQ(boxes.Texts(), QStringList({ChangeName}));
        EXPECT_EQ(Entries(), c.entries);
        EXPECT_EQ(StoredNames(), c.storedAfter);
        EXPECT_EQ(
            std::memcmp(&TestApp().Store.Svc.SvcInfo[c.services.size()], &otherSlots, sizeof otherSlots), 0);
        EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
        EXPECT_TRUE(SelectedRows().isEmpty());
        Restart();
    }
}

// A name typed with blanks around it is listed as typed; a rename to it
// stores it trimmed, in the list and in the service.
TEST_F(ProgramList, SportWithBlanksIsAppendedAsTypedButRenamedTrimmed) {
    Connect();
    AddNames({"NEWS", " SPORT "});
    FillServices(TestApp().Store, {"NEWS"});
    EXPECT_EQ(Entries(), QStringList({"NEWS", " SPORT "}));

    ClickEntry(0);
    TypeName(" SPORT ");
    BoxAnswerer boxes;
    boxes.QueueAnswers({QMessageBox::No, QMessageBox::Yes}); // not the listed one; rename NEWS
    PressAdd();
    EXPECT_EQ(boxes.Texts(), QStringList({NameExists, ChangeName}));
    EXPECT_EQ(Entries(), QStringList({"SPORT", " SPORT "}));
    EXPECT_EQ(StoredNames(), std::vector<std::string>({"SPORT"}));
}

TEST_F(ProgramList, SelectingAnEntryCopiesItsTextEvenWhileDisconnected) {
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    Shown();
    ASSERT_FALSE(Box("txt_NameProg")->isEnabled());
    ClickEntry(1);
    EXPECT_EQ(Box("txt_NameProg")->text(), "SPORT");
    QTest::keyClick(List(), Qt::Key_Up);
    EXPECT_EQ(Box("txt_NameProg")->text(), "NEWS");
}

TEST_F(ProgramList, DeleteWithNothingSelectedAsksForAnItemAndEmptiesTheNameBox) {
    Connect();
    AddNames({"NEWS"});
    TypeName("SPORT");
    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Delete")->click();
    EXPECT_EQ(boxes.Texts(), QStringList({"Choose item, please."}));
    EXPECT_EQ(boxes.Icons(), QList<QMessageBox::Icon>({QMessageBox::Warning}));
    EXPECT_EQ(Entries(), QStringList({"NEWS"}));
    EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
}

// The list is NEWS, SPORT, MOVIES; only SPORT and NEWS have services, stored
// in that order. Each program's own service goes with it; a name no service
// carries only leaves the list.
TEST_F(ProgramList, DeleteRemovesTheProgramsOwnServiceOrOnlyTheEntry) {
    Connect();
    AddNames({"NEWS", "SPORT", "MOVIES"});
    FillServices(TestApp().Store, {"SPORT", "NEWS"});

    struct Step {
        int row;
        QStringList entries;
        std::vector<std::string> stored;
    };
    const Step steps[] = {
        {2, {"NEWS", "SPORT"}, {"SPORT", "NEWS"}}, // MOVIES has no service
        {0, {"SPORT"}, {"SPORT"}},                 // NEWS is service 1, not 0
        {0, {}, {}},
    };
    BoxAnswerer boxes;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        ClickEntry(s.row);
        Control<QAbstractButton>("bt_Delete")->click();
        EXPECT_EQ(Entries(), s.entries);
        EXPECT_EQ(StoredNames(), s.stored);
        EXPECT_TRUE(Box("txt_NameProg")->text().isEmpty());
        EXPECT_TRUE(SelectedRows().isEmpty());
        // The pieces a delete carries over.
        EXPECT_STREQ(TestApp().Store.Svc.NetName, "BRIMCO NET");
    }
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_TRUE(ContentButtonsOn().isEmpty());
}

// The last entry deleted: the list buttons go off; "Save" and "Send Mux" go
// off only when neither services nor ghost entries are left.
TEST_F(ProgramList, DeletingTheLastEntryKeepsSaveAndSendWhileGhostsExist) {
    for (const int ghosts : {0, 2}) {
        SCOPED_TRACE(ghosts);
        TestApp().Store.Ghost.GhostCount = static_cast<int16_t>(ghosts); // shown: "Save", "Send Mux" on
        Connect();
        AddNames({"NEWS"});
        ClickEntry(0);
        Control<QAbstractButton>("bt_Delete")->click();
        const QStringList expected = ghosts ? QStringList({"bt_Save", "bt_Send"}) : QStringList();
        EXPECT_EQ(ContentButtonsOn(), expected);
        Restart();
    }
}

TEST_F(ProgramList, ClearAnsweredNoChangesNothing) {
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    Connect();
    BoxAnswerer boxes(QMessageBox::No);
    Control<QAbstractButton>("bt_Clear")->click();
    EXPECT_EQ(boxes.Texts(), QStringList({"Delete all items?"}));
    EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    EXPECT_EQ(StoredNames(), std::vector<std::string>({"NEWS", "SPORT"}));
    EXPECT_EQ(ContentButtonsOn().size(), 5);
}

// Clear keeps the ghost table and the boxes (the TSID box shows the old
// identifier) but still turns "Save" and "Send Mux" off.
TEST_F(ProgramList, ClearAnsweredYesEmptiesListAndServicesKeepsGhostsAndBoxes) {
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    ConfigStore& store = TestApp().Store;
    store.Svc.TsId = 4660;
    store.Ghost.GhostCount = 2;
    Connect();
    TypeName("KIDS");
    BoxAnswerer boxes(QMessageBox::Yes);
    Control<QAbstractButton>("bt_Clear")->click();
    EXPECT_EQ(boxes.Texts(), QStringList({"Delete all items?"}));
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(store.Svc.SvcCount, 0);
    EXPECT_EQ(store.Svc.TsId, 0);
    EXPECT_EQ(store.Ghost.GhostCount, 2);
    EXPECT_STREQ(store.Svc.NetName, "BRIMCO NET");
    EXPECT_EQ(Box("txt_TSID")->text(), "4660");
    EXPECT_EQ(Box("txt_NameProg")->text(), "KIDS");
    EXPECT_TRUE(ContentButtonsOn().isEmpty());
}

} // namespace
} // namespace kv::test
