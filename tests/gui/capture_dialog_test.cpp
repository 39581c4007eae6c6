// "Services from capture...": a capture of three services, two chosen, Add;
// the program list and the store take them, an output PID already taken
// moves to the next free one.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "model/cli_run.h"
#include "model/project_file.h"
#include "mux_map_support.h"
#include "program_list_support.h"
#include "ui/capture_dialog.h"

namespace kv::test {
namespace {

using CaptureDialogTest = ConnectedWindowTest;

TEST_F(CaptureDialogTest, TwoOfThreeServicesJoinTheListAndTheStore) {
    // The capture: the signalling of three services, as the tool's own `ts` writes it.
    auto made = ZeroStore();
    AddPlayedService(*made, "NEWS", 1, 0x100, 0x200);
    AddPlayedService(*made, "SPORT", 1, 0x101, 0x210, 2);
    AddPlayedService(*made, "MOVIES", 1, 0x102, 0x220);
    const std::string project = folder_ + "made.MUX", capture = folder_ + "in2.ts";
    ASSERT_EQ(WriteProjectFile(project, *made), ProjectFileStatus::Ok);
    TempFolder scratch;
    ASSERT_EQ(RunCli(scratch, {"ts", project, "-o", capture}).status, 0);

    Connect();
    AddNames({"OLD"});
    AddPlayedService(TestApp().Store, "OLD", 3, 0x60, 0x211, 0); // on SPORT's first audio PID
    ASSERT_TRUE(Action("mn_Capture")->isEnabled());

    QStringList rows;
    WhenModal<ui::Tfrm_Capture>([&](ui::Tfrm_Capture* dialog) {
        AnswerFileDialog(QString::fromStdString(capture));
        dialog->findChild<QPushButton*>("bt_CaptureFile")->click();
        auto* list = dialog->findChild<QTreeWidget*>("lst_CaptureServices");
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QTreeWidgetItem* row = list->topLevelItem(r);
            rows.append(row->text(ui::ColServiceId) + " " + row->text(ui::ColName) + " " +
                        row->text(ui::ColPids));
            if (r > 0) row->setCheckState(ui::ColServiceId, Qt::Checked);
        }
        dialog->findChild<QComboBox*>("cb_CaptureInput")->setCurrentIndex(1); // IN 2
        dialog->findChild<QPushButton*>("bt_CaptureAdd")->click();
    });
    Action("mn_Capture")->trigger();

    EXPECT_EQ(rows,
              QStringList({"1 NEWS 256, 512, 513", "2 SPORT 257, 528, 529, 530", "3 MOVIES 258, 544, 545"}));
    EXPECT_EQ(Entries(), QStringList({"OLD", "SPORT", "MOVIES"}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"OLD", "SPORT", "MOVIES"}));
    const ServiceBlock& sb = TestApp().Store.Svc;
    EXPECT_EQ(sb.SvcInput[1], 2);
    EXPECT_EQ(sb.SvcPids[1].ServiceId, 2);
    EXPECT_EQ(sb.SvcPids[1].VideoOut, 0x210);
    EXPECT_EQ(sb.SvcPids[1].Audio[0].PidIn, 0x211);
    EXPECT_EQ(sb.SvcPids[1].Audio[0].PidOut, 0x212); // 0x211 goes out for OLD
    EXPECT_EQ(sb.SvcPids[1].Audio[1].PidOut, 0x213);
    EXPECT_EQ(sb.SvcPids[2].VideoOut, 0x220);
    EXPECT_EQ(sb.SvcPids[2].PmtPid, 0x102);
}

} // namespace
} // namespace kv::test
