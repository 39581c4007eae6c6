// The subtitle dialog behind the service editor's "..." buttons: its start
// state, the write-back by "Ok" only and the stored choice shown again.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/model_test_support.h"
#include "subtitle_dialog_support.h"

namespace kv::test {
namespace {

using Dialog = ui::Tfrm_Subtitle;

// What the dialog showed when it opened.
struct Shown {
    bool ticked = false;
    bool languageEnabled = false;
    bool okEnabled = false;
    bool typeEnabled = false;
    QString language, languageCode, type, typeCode, dataType;
};

Shown Look(Dialog* d) {
    Shown s;
    s.ticked = In<QCheckBox>(d, "chk_SubtitleEnable")->isChecked();
    s.languageEnabled = In(d, "cb_LanguageCode")->isEnabled();
    s.okEnabled = In(d, "bt_Ok")->isEnabled();
    s.typeEnabled = In(d, "cb_SubtitleType")->isEnabled();
    s.language = In<QComboBox>(d, "cb_LanguageCode")->currentText();
    s.languageCode = In<QLabel>(d, "lbl_Language")->text();
    s.type = In<QComboBox>(d, "cb_SubtitleType")->currentText();
    s.typeCode = In<QLabel>(d, "lbl_Subtitle")->text();
    s.dataType = In<QRadioButton>(d, "rdg_DataType0")->isChecked()
                     ? In<QRadioButton>(d, "rdg_DataType0")->text()
                     : In<QRadioButton>(d, "rdg_DataType1")->text();
    return s;
}

const char* const Type20 =
    "0x20 DVB subtitles (for the hard of hearing) with no monitor aspect ratio criticatilty";

class SubtitleDialog : public EditorTest {
  protected:
    // Presses `button` of the editor; once the subtitle dialog is open,
    // records what it shows, runs `steps` and leaves it by `close`.
    Shown Open(EditorDriver& editor, const char* button, std::function<void(Dialog*)> steps,
               std::function<void(Dialog*)> close) {
        Shown shown;
        WhenModal<Dialog>([&](Dialog* d) {
            shown = Look(d);
            steps(d);
            close(d);
        });
        editor.Press(button);
        return shown;
    }
};

void Nothing(Dialog*) {}
void PressOk(Dialog* d) {
    Click(d, "bt_Ok");
}
void PressCancel(Dialog* d) {
    Click(d, "bt_Cancel");
}
void CloseFrame(Dialog* d) {
    d->close();
}

void ChooseEnglishHardOfHearing(Dialog* d) {
    ChooseSubtitle(d, QStringLiteral("eng English"), QString::fromLatin1(Type20));
}

std::string Lang(const DataSlot& d) {
    return std::string(d.SubLang, strnlen(d.SubLang, sizeof d.SubLang));
}

TEST_F(SubtitleDialog, OpensInItsStartStateAndCancelLeavesTheStream) {
    EditorDriver editor({"NEWS"});
    DataSlot& data = Store().Svc.SvcPids[0].Data[0];
    std::memcpy(data.SubLang, "ger", 4);
    data.SubType = 0x11;
    data.DataType = 1;
    data.SubEnable = 0;

    const Shown shown = Open(editor, "bt_Sub1", Nothing, PressCancel);
    EXPECT_FALSE(shown.ticked);
    EXPECT_FALSE(shown.languageEnabled);
    EXPECT_FALSE(shown.typeEnabled);
    EXPECT_FALSE(shown.okEnabled);
    EXPECT_EQ(shown.language, "por Portuguese");
    EXPECT_EQ(shown.languageCode, "por");
    EXPECT_EQ(shown.type, "0x10 DVB subtitles (normal) with no monitor aspect ratio criticatilty");
    EXPECT_EQ(shown.typeCode, "0x10");
    EXPECT_EQ(shown.dataType, "DVB-S / ETS         ");

    EXPECT_EQ(data.SubEnable, 0);
    EXPECT_EQ(Lang(data), "ger");
    EXPECT_EQ(data.SubType, 0x11);
    EXPECT_EQ(data.DataType, 1);
}

TEST_F(SubtitleDialog, OkStoresEnglishHardOfHearingAndReopeningShowsIt) {
    EditorDriver editor({"NEWS"});
    Open(editor, "bt_Sub1", ChooseEnglishHardOfHearing, PressOk);
    const DataSlot& data = Store().Svc.SvcPids[0].Data[0];
    EXPECT_EQ(data.SubEnable, 1);
    EXPECT_EQ(data.DataType, 0);
    EXPECT_EQ(Lang(data), "eng");
    EXPECT_EQ(data.SubType, 32);
    EXPECT_EQ(Store().Svc.SvcPids[0].Data[1].SubEnable, 0); // the other stream is untouched

    const Shown again = Open(editor, "bt_Sub1", Nothing, PressOk);
    EXPECT_TRUE(again.ticked);
    EXPECT_TRUE(again.languageEnabled);
    EXPECT_TRUE(again.okEnabled);
    EXPECT_EQ(again.language, "eng English");
    EXPECT_EQ(again.languageCode, "eng");
    EXPECT_EQ(again.typeCode, "0x20");
    EXPECT_EQ(again.type, QString::fromLatin1(Type20));
    EXPECT_EQ(data.SubType, 32);
}

TEST_F(SubtitleDialog, OkStoresScteWithTypeZero) {
    EditorDriver editor({"NEWS"});
    Open(
        editor, "bt_Sub2",
        [](Dialog* d) {
            ChooseEnglishHardOfHearing(d);
            Click(d, "rdg_DataType1");
            EXPECT_FALSE(In(d, "cb_SubtitleType")->isEnabled());
            EXPECT_FALSE(In(d, "lbl_Subtitle")->isEnabled());
        },
        PressOk);
    const DataSlot& data = Store().Svc.SvcPids[0].Data[1];
    EXPECT_EQ(data.SubEnable, 1);
    EXPECT_EQ(data.DataType, 1);
    EXPECT_EQ(data.SubType, 0);
    EXPECT_EQ(Lang(data), "eng");

    const Shown again = Open(editor, "bt_Sub2", Nothing, PressCancel);
    EXPECT_EQ(again.dataType, "DVB-C / SCTE");
    EXPECT_FALSE(again.typeEnabled);
}

TEST_F(SubtitleDialog, CancelEscapeAndFrameLeaveTheStoredSettings) {
    struct Case {
        const char* what;
        void (*close)(Dialog*);
    } cases[] = {{"Cancel", PressCancel},
                 {"Escape", [](Dialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
                 {"frame", CloseFrame}};
    for (const Case& c : cases) {
        ResetStore();
        EditorDriver editor({"NEWS"});
        const std::vector<uint8_t> before = BytesOf(Store());
        Open(editor, "bt_Sub1", ChooseEnglishHardOfHearing, c.close);
        EXPECT_EQ(BytesOf(Store()), before) << c.what;
        EXPECT_EQ(Store().Svc.SvcPids[0].Data[0].SubEnable, 0) << c.what;
    }
}

TEST_F(SubtitleDialog, OkStoresTheTickRemovedFromAStreamWithSubtitles) {
    EditorDriver editor({"NEWS"});
    Open(editor, "bt_Sub1", ChooseEnglishHardOfHearing, PressOk);
    ASSERT_EQ(Store().Svc.SvcPids[0].Data[0].SubEnable, 1);
    bool okUsable = false;
    Open(
        editor, "bt_Sub1",
        [&okUsable](Dialog* d) {
            Click(d, "chk_SubtitleEnable");
            okUsable = In(d, "bt_Ok")->isEnabled();
        },
        [&okUsable](Dialog* d) { Click(d, okUsable ? "bt_Ok" : "bt_Cancel"); });
    EXPECT_TRUE(okUsable);
    EXPECT_EQ(Store().Svc.SvcPids[0].Data[0].SubEnable, 0);
    EXPECT_EQ(Lang(Store().Svc.SvcPids[0].Data[0]), "eng");
}

TEST_F(SubtitleDialog, EmptyTypeKeepsTheStoredTypeAndLongCodesAreCut) {
    EditorDriver editor({"NEWS"});
    Open(editor, "bt_Sub1", ChooseEnglishHardOfHearing, PressOk);
    Open(
        editor, "bt_Sub1",
        [](Dialog* d) {
            PickItem(In<QComboBox>(d, "cb_SubtitleType"), 11);
            EXPECT_EQ(In<QLabel>(d, "lbl_Subtitle")->text(), "");
            PickText(In<QComboBox>(d, "cb_LanguageCode"), QStringLiteral("qaa-qtz Reserved for local use"));
            EXPECT_EQ(In<QLabel>(d, "lbl_Language")->text(), "qaa-qtz");
        },
        PressOk);
    const DataSlot& data = Store().Svc.SvcPids[0].Data[0];
    EXPECT_EQ(data.SubType, 32);
    EXPECT_EQ(Lang(data), "qaa");
    EXPECT_EQ(data.SubLang[3], '\0');

    // A typed language: the code is its first word, cut to three letters.
    Open(
        editor, "bt_Sub1",
        [](Dialog* d) {
            auto* list = In<QComboBox>(d, "cb_LanguageCode");
            list->lineEdit()->selectAll();
            QTest::keyClicks(list->lineEdit(), "klingon");
            EXPECT_EQ(In<QLabel>(d, "lbl_Language")->text(), "klingon");
        },
        PressOk);
    EXPECT_EQ(Lang(data), "kli");
}

TEST_F(SubtitleDialog, ButtonsEditTheSlotOfTheChosenName) {
    EditorDriver editor({"NEWS", "SPORT", "MOVIES"});
    BoxAnswerer boxes;
    editor.EnterService("NEWS", 1, 100);
    editor.Press("bt_Ok");
    editor.EnterService("SPORT", 2, 200);
    editor.Press("bt_Ok");
    ASSERT_EQ(Store().Svc.SvcCount, 2);

    editor.PickName("SPORT");
    Open(editor, "bt_Sub2", ChooseEnglishHardOfHearing, PressOk);
    EXPECT_EQ(Store().Svc.SvcPids[1].Data[1].SubEnable, 1);
    EXPECT_EQ(Store().Svc.SvcPids[0].Data[1].SubEnable, 0);

    // A new name edits the slot "Ok" will append it to.
    editor.PickName("MOVIES");
    Open(editor, "bt_Sub1", ChooseEnglishHardOfHearing, PressOk);
    EXPECT_EQ(Store().Svc.SvcPids[2].Data[0].SubEnable, 1);
    EXPECT_EQ(Store().Svc.SvcCount, 2);
}

} // namespace
} // namespace kv::test
