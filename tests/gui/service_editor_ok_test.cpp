// "Ok" of the service editor, driven as an operator would: the first
// service, every refusal with its message, replacing a stored service, the
// per-input PID limit and the 101st service.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <vector>

#include "model/model_test_support.h"
#include "model/store_ops.h"
#include "service_editor_support.h"

namespace kv::test {
namespace {

using ServiceEditorOk = EditorTest;

TEST_F(ServiceEditorOk, FirstServiceIsStoredInSlotZeroWithOneRow) {
    EditorDriver editor({"NEWS", "SPORT"}, QStringLiteral(" NET ONE "));
    BoxAnswerer boxes;
    editor.EnterService("NEWS", 1, 100);
    editor.Press("bt_Ok");

    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
    const ServiceBlock& sb = Store().Svc;
    EXPECT_EQ(sb.SvcCount, 1);
    EXPECT_EQ(sb.SvcInput[0], 1);
    EXPECT_STREQ(sb.SvcInfo[0].Name, "NEWS");
    EXPECT_STREQ(sb.NetName, "NET ONE");
    EXPECT_STREQ(sb.SvcInfo[0].Provider, "NET ONE");
    EXPECT_EQ(sb.SvcPmtPid[0], 100);
    EXPECT_EQ(sb.SvcPids[0].PcrIn, 101);
    EXPECT_EQ(sb.SvcPids[0].PcrOut, 201);
    EXPECT_EQ(sb.SvcPids[0].VideoOut, 201);
    EXPECT_EQ(sb.SvcPids[0].Audio[0].PidIn, 102);
    EXPECT_EQ(sb.SvcPids[0].Audio[0].PidOut, 202);
    EXPECT_EQ(sb.SvcPids[0].Audio[1].PidOut, PidNone);
    EXPECT_EQ(sb.SvcPids[0].PcrAdjust, 1);
    EXPECT_EQ(sb.SvcPids[0].GenPmt, 1);

    ASSERT_EQ(editor.Rows(), 1);
    const QStringList expected = {"1",    "NET ONE", "NEWS", "1",    "   1", " 100", " 201",
                                  " 201", " 202",    "8191", "8191", "8191", "8191", "8191"};
    for (int c = 0; c < expected.size(); ++c) EXPECT_EQ(editor.Cell(0, c), expected[c]) << "column " << c;
    EXPECT_FALSE(editor.Find<QGroupBox>("rdg_PidEdit")->isEnabled());
    EXPECT_TRUE(editor.Find("bt_Delete")->isEnabled());
    EXPECT_EQ(editor.Text("txt_PidPmt"), "100"); // the boxes keep their contents
}

struct Refusal {
    const char* what;
    std::function<void(EditorDriver&)> change; // applied to a complete entry of "SPORT"
    const char* message;
    const char* focus = nullptr; // the box Ok puts the focus in
};

TEST_F(ServiceEditorOk, EachRefusalShowsItsMessageAndStoresNothing) {
    const std::vector<Refusal> refusals = {
        {"no PMT", [](EditorDriver& e) { e.Box("txt_PidPmt")->clear(); }, "Fill PMT and PCR fields, please."},
        {"no PCR",
         [](EditorDriver& e) {
             e.Box("txt_PidPcrIn")->clear();
             e.Box("txt_PidPcrOut")->clear();
         },
         "Fill PMT and PCR fields, please."},
        {"service ID 70000",
         [](EditorDriver& e) {
             e.Box("txt_ServiceID")->clear();
             e.Type("txt_ServiceID", "70000");
         },
         "Service ID must be between 0 and 65535."},
        {"service ID of NEWS",
         [](EditorDriver& e) {
             e.Box("txt_ServiceID")->clear();
             e.Type("txt_ServiceID", "1");
         },
         "Service ID number is in the list, change it please."},
        {"no output",
         [](EditorDriver& e) {
             e.Box("txt_PidVidOut")->clear();
             e.Box("txt_PidAud1Out")->clear();
         },
         "Fill at least one field. Audio or Data (IN and OUT), please."},
        {"audio out without in",
         [](EditorDriver& e) {
             e.Box("txt_PidVidIn")->clear();
             e.Box("txt_PidVidOut")->clear();
             e.Box("txt_PidAud1In")->clear();
         },
         "Fill at least one Audio field, please."},
        {"video and data, no audio",
         [](EditorDriver& e) {
             e.Box("txt_PidAud1In")->clear();
             e.Box("txt_PidAud1Out")->clear();
             e.Type("txt_PidData1In", "300");
             e.Type("txt_PidData1Out", "400");
         },
         "Fill at least one Audio field (IN and OUT), please."},
        {"PMT 20", [](EditorDriver& e) { e.Box("txt_PidPmt")->setText("20"); },
         "Value PID PMT is incorrect!"},
        // A filled output box that its exit check warns about is never stored as absent.
        {"video out 9999", [](EditorDriver& e) { e.Box("txt_PidVidOut")->setText("9999"); },
         "Values allows (32 - 8190)", "txt_PidVidOut"},
        {"data 2 out without a number",
         [](EditorDriver& e) {
             e.Type("txt_PidData2In", "300");
             e.Type("txt_PidData2Out", ".");
         },
         "Values allows (32 - 8190)", "txt_PidData2Out"},
    };

    for (const Refusal& r : refusals) {
        ResetStore();
        EditorDriver editor({"NEWS", "SPORT"});
        BoxAnswerer boxes;
        editor.EnterService("NEWS", 1, 100);
        editor.Press("bt_Ok");
        ASSERT_EQ(Store().Svc.SvcCount, 1) << r.what;

        editor.EnterService("SPORT", 2, 300);
        r.change(editor);
        const std::vector<uint8_t> before = BytesOf(Store());
        const QString pmtShown = editor.Text("txt_PidPmt");
        editor.Press("bt_Ok");

        ASSERT_EQ(boxes.Texts().size(), 1) << r.what;
        EXPECT_EQ(boxes.Last(), QString::fromLatin1(r.message)) << r.what;
        EXPECT_EQ(BytesOf(Store()), before) << r.what;
        EXPECT_EQ(editor.Rows(), 1) << r.what;
        EXPECT_EQ(editor.Text("txt_PidPmt"), pmtShown) << r.what;
        if (r.focus) {
            EXPECT_EQ(editor.dialog->focusWidget(), editor.Box(r.focus)) << r.what;
        }
    }
}

TEST_F(ServiceEditorOk, ANewNameOnASelectedRowAsksBeforeReplacingThatService) {
    EditorDriver editor({"L1", "L2", "NEW2"});
    BoxAnswerer boxes(QMessageBox::No);
    editor.EnterService("L1", 1, 100);
    editor.Press("bt_Ok");
    editor.EnterService("L2", 2, 300);
    editor.Press("bt_Ok");
    ASSERT_EQ(Store().Svc.SvcCount, 2);

    editor.ClickRow(1);
    editor.EnterService("NEW2", 5, 500);
    const std::vector<uint8_t> before = BytesOf(Store());
    editor.Press("bt_Ok"); // answered No
    EXPECT_EQ(boxes.Texts(), QStringList{"Replace the service of L2 with NEW2?"});
    EXPECT_EQ(BytesOf(Store()), before);
    EXPECT_EQ(editor.Cell(1, 2), "L2");

    boxes.QueueAnswers({QMessageBox::Yes});
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(Store().Svc.SvcCount, 2);
    EXPECT_STREQ(Store().Svc.SvcInfo[1].Name, "NEW2");
    EXPECT_EQ(editor.Cell(1, 2), "NEW2");
}

TEST_F(ServiceEditorOk, EscapeLeavesTheEditorOpenWithItsEntry) {
    EditorDriver editor({"NEWS"});
    editor.EnterService("NEWS", 1, 100);
    editor.Box("txt_PidPmt")->setFocus();
    QTest::keyClick(editor.Box("txt_PidPmt"), Qt::Key_Escape);
    QTest::keyClick(editor.dialog, Qt::Key_Escape);
    EXPECT_TRUE(editor.dialog->isVisible());
    EXPECT_EQ(editor.Text("txt_PidPmt"), "100");
    editor.Press("bt_Exit");
}

TEST_F(ServiceEditorOk, ServiceIdIsReadAsDecimalInHexRadix) {
    EditorDriver editor({"NEWS"});
    BoxAnswerer boxes;
    editor.ChooseHex();
    editor.PickName("NEWS");
    editor.Type("txt_ServiceID", "100");
    editor.Type("txt_PidPmt", "1F0");
    editor.Type("txt_PidPcrOut", "1FF");
    editor.Type("txt_PidAud1In", "a0");
    editor.Type("txt_PidAud1Out", "B0");
    editor.Press("bt_Ok");

    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Last().toStdString();
    const ServiceBlock& sb = Store().Svc;
    ASSERT_EQ(sb.SvcCount, 1);
    EXPECT_EQ(sb.SvcPids[0].ServiceId, 100);
    EXPECT_EQ(sb.SvcInfo[0].ServiceId, 100);
    EXPECT_EQ(sb.SvcPmtPid[0], 0x1F0);
    EXPECT_EQ(sb.SvcPids[0].PcrIn, PidNone); // PCR out alone passes the first check
    EXPECT_EQ(sb.SvcPids[0].PcrOut, 0x1FF);
    EXPECT_EQ(sb.SvcPids[0].Audio[0].PidOut, 0xB0);
    EXPECT_EQ(editor.Cell(0, 4), "0064");
    EXPECT_EQ(editor.Cell(0, 5), "01F0");

    // 70000 is refused in hexadecimal radix as well.
    editor.Box("txt_ServiceID")->setText("70000");
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Last(), "Service ID must be between 0 and 65535.");
}

TEST_F(ServiceEditorOk, PickingAStoredNameLoadsItAndOkAsksBeforeReplacing) {
    EditorDriver editor({"NEWS", "SPORT"});
    BoxAnswerer boxes(QMessageBox::No);
    editor.EnterService("NEWS", 1, 100);
    editor.Press("bt_Ok");
    editor.EnterService("SPORT", 2, 300);
    editor.Press("bt_Ok");
    ASSERT_EQ(Store().Svc.SvcCount, 2);

    editor.PickName("NEWS");
    EXPECT_EQ(editor.Table()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(editor.Text("txt_PidPmt"), "100");
    EXPECT_EQ(editor.Text("txt_ServiceID"), "1");
    EXPECT_EQ(editor.Text("txt_PidAud1Out"), "202");
    EXPECT_EQ(editor.Text("txt_PidAud2Out"), ""); // absent streams show empty boxes

    editor.Box("txt_PidVidOut")->setText("555");
    const std::vector<uint8_t> before = BytesOf(Store());
    editor.Press("bt_Ok"); // answered No
    EXPECT_EQ(boxes.Last(), "This program is in the list, Do you wish change it?");
    EXPECT_EQ(BytesOf(Store()), before);
    EXPECT_EQ(editor.Cell(0, 6), " 201");

    boxes.QueueAnswers({QMessageBox::Yes});
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(Store().Svc.SvcCount, 2);
    EXPECT_EQ(Store().Svc.SvcPids[0].VideoOut, 555);
    EXPECT_EQ(editor.Cell(0, 6), " 555");
    EXPECT_EQ(editor.Rows(), 2);
    EXPECT_TRUE(editor.Table()->selectionModel()->selectedRows().isEmpty());
}

// 42 ghost entries and the two output PIDs of a stored service put input 2
// at the limit of 44.
TEST_F(ServiceEditorOk, PidLimitRefusesNewServicesButNotARenamedRow) {
    EditorDriver editor({"NEWS", "SPORT", "MOVIES"});
    BoxAnswerer boxes(QMessageBox::Yes);
    editor.EnterService("NEWS", 1, 100, 2);
    editor.Press("bt_Ok");
    ASSERT_EQ(Store().Svc.SvcCount, 1);
    for (int j = 0; j < 42; ++j) Store().Ghost.GhostInput[Store().Ghost.GhostCount++] = 2;

    editor.EnterService("SPORT", 2, 300, 2);
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Last(), "Limited 44 Pid per IN.");
    EXPECT_EQ(Store().Svc.SvcCount, 1);

    // Storing NEWS again, picked by its name, counts too.
    editor.PickName("NEWS");
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Last(), "Limited 44 Pid per IN.");
    EXPECT_EQ(boxes.Texts().size(), 2); // no question after the refusal

    // The selected row's service changed under a new name is not tested
    // against the limit; it is replaced on the operator's Yes.
    editor.ClickRow(0);
    editor.PickName("MOVIES"); // a new name: the row stays selected, the boxes empty
    editor.EnterService("MOVIES", 3, 500, 2);
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Texts().size(), 3);
    EXPECT_EQ(boxes.Last(), "Replace the service of NEWS with MOVIES?");
    EXPECT_EQ(Store().Svc.SvcCount, 1);
    EXPECT_STREQ(Store().Svc.SvcInfo[0].Name, "MOVIES");
    EXPECT_EQ(Store().Svc.SvcPmtPid[0], 500);
    EXPECT_EQ(editor.Cell(0, 2), "MOVIES");
}

TEST_F(ServiceEditorOk, HundredAndFirstServiceIsRefused) {
    QStringList names;
    InitServiceSlots(Store().Svc, MaxServices); // every stream absent
    for (int i = 0; i < MaxServices; ++i) {
        ServiceBlock& sb = Store().Svc;
        const std::string name = "P" + std::to_string(i);
        std::strcpy(sb.SvcInfo[i].Name, name.c_str());
        sb.SvcInput[i] = static_cast<int16_t>(1 + i % InputCount);
        sb.SvcPids[i].ServiceId = static_cast<uint16_t>(i + 1);
        names << QString::fromStdString(name);
    }
    Store().Svc.SvcCount = MaxServices;
    names << "EXTRA";
    EditorDriver editor(names);
    ASSERT_EQ(editor.Rows(), MaxServices);
    BoxAnswerer boxes;
    editor.EnterService("EXTRA", 999, 100, 8);
    const std::vector<uint8_t> before = BytesOf(Store());
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Last(), "Limited 100 programs.");
    EXPECT_EQ(BytesOf(Store()), before);
    EXPECT_EQ(editor.Rows(), MaxServices);
}

TEST_F(ServiceEditorOk, ExitEnablesSendOnlyWithServices) {
    {
        EditorDriver editor({"NEWS"});
        editor.Press("bt_Exit");
        EXPECT_EQ(editor.sendEnabled, 0);
        EXPECT_FALSE(editor.dialog->isVisible());
    }
    {
        EditorDriver editor({"NEWS"});
        BoxAnswerer boxes;
        editor.EnterService("NEWS", 1, 100);
        editor.Press("bt_Ok");
        editor.dialog->close(); // the window frame
        EXPECT_EQ(editor.sendEnabled, 0);
    }
    {
        EditorDriver editor({"NEWS"});
        editor.Press("bt_Exit");
        EXPECT_EQ(editor.sendEnabled, 1);
    }
}

} // namespace
} // namespace kv::test
