// The service editor's table and boxes: Delete with renumbering, Clear,
// the hexadecimal display, "Rep Out", the key filter and the exit warnings.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QToolButton>

#include "service_editor_support.h"

namespace kv::test {
namespace {

using ServiceEditorTable = EditorTest;

const QStringList FourNames = {"NEWS", "SPORT", "MOVIES", "MUSIC"};

// Four services: PMT 100, 200, 300, 400; service IDs 1..4; inputs 1..4.
void EnterFour(EditorDriver& editor) {
    BoxAnswerer boxes;
    for (int i = 0; i < 4; ++i) {
        editor.EnterService(FourNames[i], i + 1, 100 * (i + 1), i + 1);
        editor.Press("bt_Ok");
    }
    ASSERT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
    ASSERT_EQ(Store().Svc.SvcCount, 4);
}

TEST_F(ServiceEditorTable, DeletingRowTwoOfFourRenumbersTheRest) {
    EditorDriver editor(FourNames);
    EnterFour(editor);
    editor.ClickRow(1);
    EXPECT_EQ(editor.Find<QComboBox>("cb_NameProg")->currentText(), "SPORT");
    EXPECT_EQ(editor.Text("txt_PidPmt"), "200");

    BoxAnswerer boxes;
    editor.Press("bt_Delete");
    EXPECT_TRUE(boxes.Texts().isEmpty());
    ASSERT_EQ(editor.Rows(), 3);
    EXPECT_EQ(Store().Svc.SvcCount, 3);
    const char* names[] = {"NEWS", "MOVIES", "MUSIC"};
    const char* pmts[] = {" 100", " 300", " 400"};
    const char* inputs[] = {"1", "3", "4"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(editor.Cell(r, 0), QString::number(r + 1)) << r;
        EXPECT_EQ(editor.Cell(r, 2), names[r]) << r;
        EXPECT_EQ(editor.Cell(r, 3), inputs[r]) << r;
        EXPECT_EQ(editor.Cell(r, 5), pmts[r]) << r;
        EXPECT_STREQ(Store().Svc.SvcInfo[r].Name, names[r]) << r;
    }
    EXPECT_EQ(Store().Svc.SvcPmtPid[1], 300);
    EXPECT_EQ(Store().Svc.SvcInput[2], 4);
    EXPECT_EQ(editor.Text("txt_PidPmt"), "");
    EXPECT_EQ(editor.Text("txt_ServiceID"), "");

    // The boxes are empty now: Delete asks for a row although one was chosen.
    editor.ClickRow(0);
    editor.PickName("SPORT"); // not stored any more: clears the boxes
    editor.Press("bt_Delete");
    EXPECT_EQ(boxes.Last(), "Choose item, please.");
    EXPECT_EQ(Store().Svc.SvcCount, 3);
}

TEST_F(ServiceEditorTable, DeletingTheOnlyServiceFreesTheRadix) {
    EditorDriver editor({"NEWS"});
    BoxAnswerer boxes;
    editor.EnterService("NEWS", 1, 100);
    editor.Press("bt_Ok");
    EXPECT_FALSE(editor.Find<QGroupBox>("rdg_PidEdit")->isEnabled());

    editor.ClickRow(0);
    editor.Press("bt_Delete");
    EXPECT_EQ(editor.Rows(), 0);
    EXPECT_EQ(Store().Svc.SvcCount, 0);
    EXPECT_FALSE(editor.Find("bt_Delete")->isEnabled());
    EXPECT_FALSE(editor.Find("bt_Clear")->isEnabled());
    EXPECT_TRUE(editor.Find<QGroupBox>("rdg_PidEdit")->isEnabled());
}

TEST_F(ServiceEditorTable, ClearAsksAndEmptiesTheList) {
    EditorDriver editor(FourNames);
    BoxAnswerer boxes(QMessageBox::No);
    editor.Press("bt_Clear");
    EXPECT_EQ(boxes.Last(), "List is empty!");
    EnterFour(editor);
    editor.Press("bt_Clear");
    EXPECT_EQ(boxes.Last(), "Delete all items?");
    EXPECT_EQ(editor.Rows(), 4);
    EXPECT_EQ(Store().Svc.SvcCount, 4);

    boxes.QueueAnswers({QMessageBox::Yes});
    editor.Press("bt_Clear");
    EXPECT_EQ(editor.Rows(), 0);
    EXPECT_EQ(Store().Svc.SvcCount, 0);
    EXPECT_EQ(Store().Svc.SvcPmtPid[3], 400); // the slots keep their bytes
    EXPECT_EQ(editor.Find<QComboBox>("cb_NameProg")->currentText(), "NEWS");
    EXPECT_EQ(editor.Find<QComboBox>("cb_InAsi")->currentText(), "1");
    EXPECT_FALSE(editor.Find("bt_Clear")->isEnabled());
    EXPECT_TRUE(editor.Find<QGroupBox>("rdg_PidEdit")->isEnabled());
}

TEST_F(ServiceEditorTable, HexRadixShows256And8191) {
    {
        EditorDriver editor({"NEWS", "SPORT"});
        BoxAnswerer boxes;
        editor.ChooseHex();
        editor.PickName("NEWS");
        editor.Type("txt_ServiceID", "65535");
        editor.Type("txt_PidPmt", "100"); // 0x100 = 256
        editor.Type("txt_PidPcrOut", "101");
        editor.Type("txt_PidAud1In", "102"); // audio 1 out left empty: absent
        editor.Type("txt_PidData1In", "110");
        editor.Type("txt_PidData1Out", "120");
        editor.Press("bt_Ok");
        ASSERT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
        EXPECT_EQ(Store().Svc.SvcPmtPid[0], 256);
        EXPECT_EQ(Store().Svc.SvcPids[0].Audio[0].PidOut, PidNone);
        EXPECT_EQ(editor.Cell(0, 4), "FFFF");
        EXPECT_EQ(editor.Cell(0, 5), "0100");
        EXPECT_EQ(editor.Cell(0, 8), "1FFF");
        EXPECT_EQ(editor.Cell(0, 11), "1FFF");

        editor.ClickRow(0);
        EXPECT_EQ(editor.Text("txt_PidPmt"), "0100");
        EXPECT_EQ(editor.Text("txt_ServiceID"), "65535");
        EXPECT_EQ(editor.Text("txt_PidAud1Out"), "");
        EXPECT_EQ(editor.Text("txt_PidAud4Out"), "");
        EXPECT_EQ(editor.Text("txt_PidData1Out"), "0120");
    }
    // Opened again, the editor is decimal and shows the same service so.
    EditorDriver editor({"NEWS", "SPORT"});
    EXPECT_EQ(editor.Cell(0, 4), "65535");
    EXPECT_EQ(editor.Cell(0, 5), " 256");
    EXPECT_EQ(editor.Cell(0, 8), "8191");
    editor.ClickRow(0);
    EXPECT_EQ(editor.Text("txt_PidPmt"), "256");
    EXPECT_EQ(editor.Text("txt_PidAud1Out"), "");
}

TEST_F(ServiceEditorTable, RepOutMirrorsInputBoxes) {
    EditorDriver editor({"NEWS"});
    editor.Type("txt_PidAud2In", "4");
    EXPECT_EQ(editor.Text("txt_PidAud2Out"), ""); // not ticked: independent
    editor.Box("txt_PidAud2In")->clear();

    QTest::mouseClick(editor.Find<QCheckBox>("ckb_Duplicate"), Qt::LeftButton);
    ASSERT_TRUE(editor.Find<QCheckBox>("ckb_Duplicate")->isChecked());
    const char* pairs[][2] = {{"txt_PidPcrIn", "txt_PidPcrOut"},     {"txt_PidVidIn", "txt_PidVidOut"},
                              {"txt_PidAud1In", "txt_PidAud1Out"},   {"txt_PidAud2In", "txt_PidAud2Out"},
                              {"txt_PidAud3In", "txt_PidAud3Out"},   {"txt_PidAud4In", "txt_PidAud4Out"},
                              {"txt_PidData1In", "txt_PidData1Out"}, {"txt_PidData2In", "txt_PidData2Out"}};
    for (const auto& [in, out] : pairs) {
        editor.Type(in, "4");
        EXPECT_EQ(editor.Text(out), "4") << in;
        editor.Type(in, "0");
        EXPECT_EQ(editor.Text(out), "40") << in;
        QTest::keyClick(editor.Box(in), Qt::Key_Backspace);
        QTest::keyClick(editor.Box(in), Qt::Key_Backspace);
        EXPECT_EQ(editor.Text(out), "") << in;
    }
    editor.Type("txt_PidPmt", "77");
    EXPECT_EQ(editor.Text("txt_PidPcrOut"), ""); // the PMT box has no partner

    // Loading a row sets each output box after its input box.
    BoxAnswerer boxes;
    editor.EnterService("NEWS", 1, 100);
    editor.Box("txt_PidVidOut")->setText("999");
    editor.Press("bt_Ok");
    ASSERT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
    editor.ClickRow(0);
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "101");
    EXPECT_EQ(editor.Text("txt_PidVidOut"), "999");
}

TEST_F(ServiceEditorTable, NumberBoxesTakeOnlyTheKeysOfTheRadix) {
    EditorDriver editor({"NEWS"});
    editor.Type("txt_PidVidIn", "1Ax2.,G");
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "12.,");
    QTest::keyClick(editor.Box("txt_PidVidIn"), Qt::Key_Return);
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "12.,");
    editor.Box("txt_PidVidIn")->clear();
    editor.Type("txt_PidVidIn", "123456");
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "1234"); // four characters
    editor.Type("txt_ServiceID", "12.,34567");      // the Service ID takes digits only
    EXPECT_EQ(editor.Text("txt_ServiceID"), "12345");

    editor.ChooseHex();
    editor.Box("txt_PidVidIn")->clear();
    editor.Type("txt_PidVidIn", "aFgG");
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "aF");
    editor.Box("txt_ServiceID")->clear();
    editor.Type("txt_ServiceID", "1bz");
    EXPECT_EQ(editor.Text("txt_ServiceID"), "1"); // read as decimal, so no letters either

    // Delete edits the box, also where the platform gives it a character.
    editor.Box("txt_PidVidIn")->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QApplication::sendEvent(editor.Box("txt_PidVidIn"), &del);
    EXPECT_EQ(editor.Text("txt_PidVidIn"), "F");

    // The lists are chosen from, never typed into.
    auto* input = editor.Find<QComboBox>("cb_InAsi");
    QTest::keyClicks(input, "5");
    EXPECT_EQ(input->currentText(), "1");
}

TEST_F(ServiceEditorTable, LeavingAnOutputBoxWarnsOutsideTheRange) {
    EditorDriver editor({"NEWS"});
    BoxAnswerer boxes;
    struct Case {
        const char* box;
        const char* text;
        bool warns;
    } cases[] = {
        // Which boxes check on exit; the range itself is the PID rules' own.
        {"txt_PidVidOut", "31", true}, {"txt_PidData2Out", ".", true}, {"txt_PidPmt", "5", true},
        {"txt_PidVidIn", "5", false},  {"txt_PidAud1Out", "", false},
    };
    for (const Case& c : cases) {
        const int before = boxes.Texts().size();
        QLineEdit* box = editor.Box(c.box);
        box->setText(QString::fromLatin1(c.text));
        editor.Activate(); // back from the last warning
        box->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([box] { return box->hasFocus(); })) << c.box;
        editor.Box("txt_PidAud2In")->setFocus(Qt::TabFocusReason);
        QTest::qWait(30);
        EXPECT_EQ(boxes.Texts().size(), before + (c.warns ? 1 : 0)) << c.box << " " << c.text;
        if (c.warns) {
            EXPECT_EQ(boxes.Last(), "Values allows (32 - 8190)");
        }
        EXPECT_EQ(box->text(), QString::fromLatin1(c.text)); // the text stays as typed
        box->clear();
    }

    // Leaving the Service ID box checks the PMT box.
    editor.Box("txt_PidPmt")->setText("8191");
    const int before = boxes.Texts().size();
    editor.Activate();
    editor.Box("txt_ServiceID")->setFocus(Qt::TabFocusReason);
    editor.Box("txt_PidAud2In")->setFocus(Qt::TabFocusReason);
    QTest::qWait(30);
    EXPECT_EQ(boxes.Texts().size(), before + 1);

    // A speed button takes no focus, so it runs no check.
    editor.Box("txt_PidVidOut")->setText("5");
    editor.Activate();
    editor.Box("txt_PidVidOut")->setFocus(Qt::TabFocusReason);
    const int beforeOk = boxes.Texts().size();
    editor.Press("bt_Clear");
    EXPECT_EQ(boxes.Texts().size(), beforeOk + 1);
    EXPECT_EQ(boxes.Last(), "List is empty!");
    EXPECT_EQ(editor.dialog->focusWidget(), editor.Box("txt_PidVidOut"));
}

// The speed buttons take no focus, so pressing one runs no exit check.
TEST_F(ServiceEditorTable, SpeedButtonsTakeNoFocusAndTheTableHasItsColumns) {
    EditorDriver editor({"NEWS", "SPORT"});
    EXPECT_EQ(editor.dialog->size(), QSize(969, 654));
    for (const char* name : {"bt_Ok", "bt_Exit", "bt_Delete", "bt_Clear"})
        EXPECT_EQ(editor.Find(name)->focusPolicy(), Qt::NoFocus) << name;
    QTableWidget* table = editor.Table();
    ASSERT_EQ(table->columnCount(), 14);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QString::fromUtf8("N\u00BA"));
    EXPECT_EQ(table->horizontalHeaderItem(13)->text(), "DATA2");
    EXPECT_EQ(table->columnWidth(4), 70);
}

} // namespace
} // namespace kv::test
