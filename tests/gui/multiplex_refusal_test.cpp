// The multiplex check in the windows: "Send Mux" asks before it sends a
// multiplex with errors; the editors refuse entries that would create one.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "model/project_file.h"
#include "mux_map_support.h"
#include "ops/bit_rate_entry.h"
#include "program_list_support.h"
#include "service_editor_support.h"
#include "ui/kv2208_ghost.h"

namespace kv::test {
namespace {

// A project whose ghost entry lands on the audio of NEWS, opened from its file
// in the connected window: "Send Mux" asks; No sends nothing and spends no
// PAT version, Yes sends it.
TEST_F(MainWindowTest, SendMuxOfAProjectWithAConflictAsksAndSendsOnlyOnYes) {
    auto project = std::make_unique<ConfigStore>();
    AddPlayedService(*project, "NEWS", 1, 256, 101);
    AddPlayedService(*project, "SPORT", 2, 257, 201);
    AddGhost(*project, 3, 500, 102);
    ASSERT_EQ(ApplyBitRateEntry(*project, "38000000", true).outcome, BitRateEntry::Outcome::Applied);
    const std::string path = folder_ + "Config/conflict.mux";
    ASSERT_EQ(WriteProjectFile(path, *project), ProjectFileStatus::Ok);

    Connect();
    AnswerFileDialog(QString::fromStdString(path));
    Control<QAbstractButton>("bt_Open")->click();
    ASSERT_EQ(TestApp().Store.Ghost.GhostCount, 1);

    QString asked;
    bool noIsDefault = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->text();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    Control<QAbstractButton>("bt_Send")->click();
    const QStringList lines = asked.split('\n');
    ASSERT_EQ(lines.size(), 3) << asked.toStdString();
    EXPECT_EQ(lines.front(), "The multiplex has 1 errors:");
    EXPECT_TRUE(lines[1].contains("102")) << lines[1].toStdString();
    EXPECT_EQ(lines.back(), "Send anyway?");
    EXPECT_TRUE(noIsDefault);
    EXPECT_EQ(TestApp().PatVersion, 0);
    EXPECT_EQ(simulator_->LoadsCompleted(), 0);
    EXPECT_FALSE(std::filesystem::exists(TestApp().ImageFile));

    BoxAnswerer boxes(QMessageBox::Yes);
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_TRUE(QTest::qWaitFor([&boxes] { return boxes.Texts().size() == 2; }, 20000)); // the transfer ends
    EXPECT_EQ(boxes.Last(), "Process successful!");
    EXPECT_EQ(TestApp().PatVersion, 1);
    EXPECT_EQ(simulator_->StoredImage(), ReadFile(TestApp().ImageFile));
}

// SPORT's video typed onto the output PID of NEWS's video: Ok refuses with
// the holder named, the focus in the video output box, nothing stored.
TEST_F(EditorTest, OkRefusesAVideoOutputPidOfAnotherService) {
    AddPlayedService(Store(), "NEWS", 1, 256, 101);
    EditorDriver editor({"NEWS", "SPORT"});
    editor.EnterService("SPORT", 2, 300, 2);
    editor.Box("txt_PidVidOut")->clear();
    editor.Type("txt_PidVidOut", "101");
    BoxAnswerer boxes;
    editor.Press("bt_Ok");
    EXPECT_EQ(boxes.Texts(), QStringList{"Output PID 101 is already used by NEWS (video)."});
    EXPECT_EQ(editor.dialog->focusWidget(), editor.Box("txt_PidVidOut"));
    EXPECT_EQ(Store().Svc.SvcCount, 1);
}

// A ghost entry whose output is the audio PID of a stored service: Add
// refuses it and the list stays empty; the same entry on a free PID is taken.
TEST_F(EditorTest, GhostAddRefusesTheAudioPidOfAService) {
    AddPlayedService(Store(), "NEWS", 1, 256, 101); // audio 1 on 102
    Tfrm_CfgGhost ghost(TestApp().Store, [] {});
    ghost.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ghost));
    auto* list = ghost.findChild<QTreeWidget*>("lst_Ghost");
    auto* pidIn = ghost.findChild<QLineEdit*>("txt_PidInGhost");
    auto* pidOut = ghost.findChild<QLineEdit*>("txt_PidOutGhost");
    ghost.findChild<QComboBox*>("cb_InASI")->setCurrentIndex(2);
    BoxAnswerer boxes;
    for (const char* out : {"102", "103"}) {
        pidIn->clear();
        pidOut->clear();
        QTest::keyClicks(pidIn, "500");
        QTest::keyClicks(pidOut, out);
        ghost.findChild<QPushButton*>("bt_Add")->click();
    }
    EXPECT_EQ(boxes.Texts(), QStringList{"Output PID 102 is already used by NEWS (audio 1)."});
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(2).trimmed(), "103");
}

} // namespace
} // namespace kv::test
