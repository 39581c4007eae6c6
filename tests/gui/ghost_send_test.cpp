// Ghost entries typed into the editor opened from "Ghost" reach the device:
// "Send Mux" against the simulated multiplexer, and the PID maps of the
// image carry them after the services' pairs.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "ops/bit_rate_entry.h"
#include "tables/image_layout.h"
#include "tables/record_io.h"
#include "tables/tables_test_support.h"
#include "ui/kv2208_ghost.h"

namespace kv::test {
namespace {

struct Pair {
    int in, out;
    bool operator==(const Pair&) const = default;
};

// The first `count` pairs of the PID map of `input` in the image bytes.
std::vector<Pair> MapPairs(const std::vector<uint8_t>& image, int input, int count) {
    std::vector<Pair> pairs;
    const std::size_t at = PidMapIndex(input) * RecordSize;
    if (image.size() < at + RecordSize) return pairs;
    const RecordReader map(std::span<const uint8_t>(image).subspan(at, RecordSize));
    for (int k = 0; k < count; ++k) pairs.push_back({map.pid(PidMapPairAt(k)), map.pid(PidMapPairAt(k) + 2)});
    return pairs;
}

// Types one entry into the open editor and presses Add.
void AddEntry(Tfrm_CfgGhost* editor, int input, const char* pidIn, const char* pidOut) {
    editor->findChild<QComboBox*>("cb_InASI")->setCurrentIndex(input - 1);
    QTest::keyClicks(editor->findChild<QLineEdit*>("txt_PidInGhost"), pidIn);
    QTest::keyClicks(editor->findChild<QLineEdit*>("txt_PidOutGhost"), pidOut);
    editor->findChild<QPushButton*>("bt_Add")->click();
}

TEST_F(MainWindowTest, GhostEntriesFromTheEditorFollowTheServicePairsInThePidMaps) {
    Build();
    ConfigStore& store = TestApp().Store;
    ServicePids& news = AddService(store, 2, 1, 256, "NEWS", "NET");
    news.PcrIn = news.PcrOut = news.VideoIn = news.VideoOut = 101;
    news.Audio[0].PidIn = 102;
    news.Audio[0].PidOut = 112;
    AddGhost(store, 2, 600, 610); // listed by the editor and written back with the new rows
    ASSERT_EQ(ApplyBitRateEntry(store, "38000000", true).outcome, BitRateEntry::Outcome::Applied);
    Connect();

    bool edited = false;
    WhenModal<Tfrm_CfgGhost>([&edited](Tfrm_CfgGhost* editor) {
        AddEntry(editor, 2, "700", "710");
        AddEntry(editor, 5, "800", "810");
        editor->findChild<QPushButton*>("bt_Exit")->click();
        edited = true;
    });
    Control<QAbstractButton>("bt_Ghost")->click();
    ASSERT_TRUE(edited);
    ASSERT_EQ(store.Ghost.GhostCount, 3);
    EXPECT_TRUE(Control("bt_Send")->isEnabled());
    EXPECT_TRUE(Control("bt_Save")->isEnabled());

    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), QStringLiteral("Process successful!"));

    const std::vector<uint8_t> image = ReadFile(TestApp().ImageFile);
    EXPECT_EQ(simulator_->StoredImage(), image);
    // Input 2: the service's PCR, video and audio, then its two ghost entries in list order.
    EXPECT_EQ(MapPairs(image, 2, 6),
              (std::vector<Pair>{{101, 101}, {101, 101}, {102, 112}, {600, 610}, {700, 710}, {8191, 8191}}));
    // Input 5 has no service: its ghost entry comes first.
    EXPECT_EQ(MapPairs(image, 5, 2), (std::vector<Pair>{{800, 810}, {8191, 8191}}));
}

} // namespace
} // namespace kv::test
