// From the operator's entries to the device: program names added in the
// main window, services entered in the editor its "Edit" opens (with
// subtitle settings), "Send Mux" against the simulated multiplexer, and the
// PMTs of the image read back independently of the builders.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <cstdint>
#include <map>
#include <vector>

#include "program_list_support.h"
#include "subtitle_dialog_support.h"
#include "tables/crc32.h"
#include "tables/image_layout.h"

namespace kv::test {
namespace {

struct Stream {
    int type;
    int pid;
    std::vector<uint8_t> descriptors;
    bool operator==(const Stream&) const = default;
};

struct Pmt {
    int programNumber = -1;
    int pcrPid = -1;
    bool crcGood = false;
    std::vector<Stream> streams;
};

// The PMT sections of the image, by PMT PID; every length is bounded by the packet.
std::map<int, Pmt> PmtsOf(const std::vector<uint8_t>& image) {
    std::map<int, Pmt> pmts;
    for (std::size_t at = PatIndex * RecordSize; at + RecordSize <= image.size(); at += RecordSize) {
        const uint8_t* p = &image[at];
        if (p[0] != 0x47 || !(p[1] & 0x40) || p[4] != 0 || p[5] != 0x02) continue;
        const int pid = (p[1] & 0x1F) << 8 | p[2];
        const std::size_t sectionLength = (p[6] & 0x0F) << 8 | p[7];
        if (8 + sectionLength > RecordSize) continue;
        Pmt pmt;
        // A section with its CRC leaves no remainder.
        pmt.crcGood = Crc32Mpeg2({p + 5, 3 + sectionLength}) == 0;
        pmt.programNumber = p[8] << 8 | p[9];
        pmt.pcrPid = (p[13] & 0x1F) << 8 | p[14];
        const std::size_t programInfo = (p[15] & 0x0F) << 8 | p[16];
        const std::size_t end = 8 + sectionLength - 4; // before the CRC
        for (std::size_t e = 17 + programInfo; e + 5 <= end;) {
            const std::size_t info = (p[e + 3] & 0x0F) << 8 | p[e + 4];
            if (e + 5 + info > end) break;
            pmt.streams.push_back(
                {p[e], (p[e + 1] & 0x1F) << 8 | p[e + 2], std::vector<uint8_t>(p + e + 5, p + e + 5 + info)});
            e += 5 + info;
        }
        pmts[pid] = pmt;
    }
    return pmts;
}

using ServiceEditorEndToEnd = ConnectedWindowTest;

// NEWS on input 1: H.264 video, AC-3 audio and English subtitles for the
// hard of hearing on data 1. SPORT on input 2: MPEG-1 audio and an SCTE
// data stream in Portuguese on data 2.
void EnterTwoServices(ui::Tfrm_CfgProg* open) {
    EditorDriver editor(open);
    BoxAnswerer boxes;
    editor.EnterService("NEWS", 1, 100, 1);
    PickItem(editor.Find<QComboBox>("cb_VidType"), 1);  // "H.264"
    PickItem(editor.Find<QComboBox>("cb_Aud1Type"), 4); // "AC3"
    editor.Type("txt_PidData1In", "110");
    editor.Type("txt_PidData1Out", "210");
    WhenModal<ui::Tfrm_Subtitle>([](ui::Tfrm_Subtitle* d) {
        ChooseSubtitle(
            d, QStringLiteral("eng English"),
            "0x20 DVB subtitles (for the hard of hearing) with no monitor aspect ratio criticatilty");
        Click(d, "bt_Ok");
    });
    editor.Press("bt_Sub1");
    editor.Press("bt_Ok");

    editor.PickName("SPORT");
    PickText(editor.Find<QComboBox>("cb_InAsi"), "2");
    editor.Type("txt_ServiceID", "2");
    editor.Type("txt_PidPmt", "300");
    editor.Type("txt_PidPcrOut", "401");
    editor.Type("txt_PidAud1In", "302");
    editor.Type("txt_PidAud1Out", "402");
    editor.Type("txt_PidData2In", "320");
    editor.Type("txt_PidData2Out", "420");
    WhenModal<ui::Tfrm_Subtitle>([](ui::Tfrm_Subtitle* d) {
        Click(d, "chk_SubtitleEnable"); // "por Portuguese" as it opens
        Click(d, "rdg_DataType1");
        Click(d, "bt_Ok");
    });
    editor.Press("bt_Sub2");
    editor.Press("bt_Ok");

    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
    EXPECT_EQ(editor.Rows(), 2);
    editor.Press("bt_Exit");
}

TEST_F(ServiceEditorEndToEnd, EnteredServicesReachThePmtsOfTheImage) {
    Connect();
    Enter(Box("txt_NetName"), "BRIMCO", Box("txt_TSID"));
    Enter(Box("txt_TSID"), "1", Box("txt_BitRate"));
    Enter(Box("txt_BitRate"), "38000000", Box("txt_NetName"));
    AddNames({"NEWS", "SPORT"}); // typed, then "Add"
    ASSERT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    ASSERT_FALSE(Control("bt_Send")->isEnabled());

    WhenModal<ui::Tfrm_CfgProg>(EnterTwoServices);
    Control<QAbstractButton>("bt_Edit")->click();
    ASSERT_EQ(TestApp().Store.Svc.SvcCount, 2);
    ASSERT_TRUE(Control("bt_Send")->isEnabled()); // "Exit" with services stored

    BoxAnswerer boxes;
    Control<QAbstractButton>("bt_Send")->click();
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Last(), "Process successful!");
    const std::vector<uint8_t> image = ReadFile(TestApp().ImageFile);
    EXPECT_EQ(simulator_->StoredImage(), image);

    const std::map<int, Pmt> pmts = PmtsOf(image);
    ASSERT_EQ(pmts.size(), 2u);
    ASSERT_EQ(pmts.count(100), 1u);
    ASSERT_EQ(pmts.count(300), 1u);

    const Pmt& news = pmts.at(100);
    EXPECT_TRUE(news.crcGood);
    EXPECT_EQ(news.programNumber, 1);
    EXPECT_EQ(news.pcrPid, 201);
    const std::vector<Stream> newsStreams = {
        {0x1B, 201, {}},                             // H.264 video
        {0x81, 202, {0x6A, 0x03, 0x80, 0x52, 0x00}}, // AC-3 audio with its descriptor
        {0x06,
         210,
         {0x52, 0x01, 0x06,                                          // stream identifier
          0x0A, 0x04, 'e', 'n', 'g', 0x00,                           // ISO 639 language
          0x59, 0x08, 'e', 'n', 'g', 0x20, 0x00, 0x04, 0x00, 0x05}}, // subtitling, type 0x20
    };
    EXPECT_EQ(news.streams, newsStreams);

    const Pmt& sport = pmts.at(300);
    EXPECT_TRUE(sport.crcGood);
    EXPECT_EQ(sport.programNumber, 2);
    EXPECT_EQ(sport.pcrPid, 401);
    const std::vector<Stream> sportStreams = {
        {0x03, 402, {}},                                // MPEG-1 audio
        {0x82, 420, {0x0A, 0x04, 'p', 'o', 'r', 0x00}}, // SCTE data: language, type 0
    };
    EXPECT_EQ(sport.streams, sportStreams);
}

} // namespace
} // namespace kv::test
