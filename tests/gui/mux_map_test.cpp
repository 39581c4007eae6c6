// "Multiplex map..." of the Config menu: when it can be chosen, the table of
// output PIDs of a small project, and the picture saved as a PNG file.

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "mux_map_support.h"
#include "program_list_support.h"
#include "ui/mux_map.h"

namespace kv::test {
namespace {

struct OutRow {
    QString pid, hex, carries, source;
    bool flagged; // findings shown, row in red (the project has errors only)
};

TEST_F(MainWindowTest, MuxMapListsEveryOutputPidAndSavesItsPicture) {
    Build();
    QMenu* config = Control<QMenu>("mn_Config");
    QAction* item = Action("mn_MuxMap");
    emit config->aboutToShow();
    EXPECT_FALSE(item->isEnabled()); // nothing stored yet

    ConfigStore& store = TestApp().Store;
    AddPlayedService(store, "NEWS", 1, 256, 101);
    AddPlayedService(store, "SPORT", 2, 257, 201, 2);
    AddPlayedService(store, "MOVIES", 2, 258, 301);
    AddGhost(store, 3, 500, 302); // on the audio of MOVIES: two sources on one PID
    Shown();
    emit config->aboutToShow();
    ASSERT_TRUE(item->isEnabled());

    const std::string png = folder_ + "Config/map.png";
    QList<OutRow> rows;
    QSize pictureSize;
    WhenModal<ui::Tfrm_MuxMap>([&](ui::Tfrm_MuxMap* map) {
        EXPECT_EQ(map->objectName(), "frm_MuxMap");
        EXPECT_EQ(map->windowTitle(), "Multiplex map");
        auto* table = map->findChild<QTreeWidget*>("lst_OutPids");
        for (int r = 0; table && r < table->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* row = table->topLevelItem(r);
            const bool flagged = !row->text(ui::ColFindings).isEmpty();
            EXPECT_EQ(row->foreground(ui::ColPid).color() == ui::ErrorRowColour, flagged) << r;
            rows.append({row->text(ui::ColPid), row->text(ui::ColHex), row->text(ui::ColCarries),
                         row->text(ui::ColSource), flagged});
        }
        EXPECT_EQ(map->findChild<QLabel*>("lbl_Services")->text(), "Services: 3/41");
        EXPECT_EQ(map->findChild<QLabel*>("lbl_Pcrs")->text(), "Adjusted PCRs: 3/32");
        EXPECT_EQ(map->findChild<QLabel*>("lbl_Findings")->text(), "Findings: 1 error, 0 warnings");
        FileDialogSeen seen;
        AnswerFileDialog(QString::fromStdString(png), &seen);
        map->findChild<QPushButton*>("bt_SavePicture")->click();
        EXPECT_EQ(seen.objectName, "dlg_SavePicture");
        EXPECT_FALSE(seen.native);
        pictureSize = map->Picture().size();
        map->accept();
    });
    item->trigger();

    const QList<OutRow> expected = {
        {"0", "0x0000", "PAT", "", false},
        {"16", "0x0010", "NIT", "", false},
        {"17", "0x0011", "SDT", "", false},
        {"101", "0x0065", "PCR of NEWS", "input 1, PID 101", false},
        {"101", "0x0065", "video of NEWS", "input 1, PID 101", false},
        {"102", "0x0066", "audio 1 of NEWS", "input 1, PID 102", false},
        {"201", "0x00C9", "PCR of SPORT", "input 2, PID 201", false},
        {"201", "0x00C9", "video of SPORT", "input 2, PID 201", false},
        {"202", "0x00CA", "audio 1 of SPORT", "input 2, PID 202", false},
        {"203", "0x00CB", "audio 2 of SPORT", "input 2, PID 203", false},
        {"256", "0x0100", "PMT of NEWS", "", false},
        {"257", "0x0101", "PMT of SPORT", "", false},
        {"258", "0x0102", "PMT of MOVIES", "", false},
        {"301", "0x012D", "PCR of MOVIES", "input 2, PID 301", false},
        {"301", "0x012D", "video of MOVIES", "input 2, PID 301", false},
        {"302", "0x012E", "audio 1 of MOVIES", "input 2, PID 302", true},
        {"302", "0x012E", "ghost", "input 3, PID 500", true},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].pid, expected[r].pid) << r;
        EXPECT_EQ(rows[r].hex, expected[r].hex) << r;
        EXPECT_EQ(rows[r].carries, expected[r].carries) << r;
        EXPECT_EQ(rows[r].source, expected[r].source) << r;
        EXPECT_EQ(rows[r].flagged, expected[r].flagged) << r;
    }
    const QImage saved(QString::fromStdString(png));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), pictureSize);
}

} // namespace
} // namespace kv::test
