// The language and subtitling type lists and the write-back of the subtitle
// dialog, without the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "model/language_list.h"
#include "model/subtitle_settings.h"

namespace kv {
namespace {

TEST(LanguageList, HoldsTheDeviceItemsInItsOrder) {
    const auto items = LanguageItems();
    ASSERT_EQ(items.size(), 504u);
    EXPECT_STREQ(items[0], "aar Afar");
    EXPECT_STREQ(items[DefaultLanguageIndex], "por Portuguese");
    EXPECT_STREQ(items[503], "zza Zaza; Dimili; Dimli; Kirdki; Kirmanjki; Zazaki");

    auto indexOf = [&items](const char* text) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (std::string(items[i]) == text) return static_cast<int>(i);
        return -1;
    };
    // The device's exceptions to alphabetical order.
    const int cel = indexOf("cel Celtic languages");
    EXPECT_STREQ(items[cel + 1], "cze Czech");
    EXPECT_NE(indexOf("ces Czech"), -1);
    const int fao = indexOf("fao Faroese");
    EXPECT_STREQ(items[fao + 1], "faz Persian");
    EXPECT_STREQ(items[fao + 2], "fat Fanti");
    EXPECT_EQ(indexOf("fas Persian"), -1);
    EXPECT_NE(indexOf("per Persian"), -1);
    EXPECT_EQ(indexOf("slo Slovak") + 1, indexOf("slk Slovak"));
    EXPECT_NE(indexOf("qaa-qtz Reserved for local use"), -1);
    // Both codes of a language with a bibliographic and a terminology code.
    EXPECT_NE(indexOf("ger German"), -1);
    EXPECT_NE(indexOf("deu German"), -1);
    EXPECT_NE(indexOf("alb Albanian"), -1);
    EXPECT_NE(indexOf("sqi Albanian"), -1);
    // Accented letters, as UTF-8.
    EXPECT_NE(indexOf("vol Volap\xC3\xBCk"), -1);

    // Apart from the two placed exceptions the codes ascend.
    int outOfOrder = 0;
    for (std::size_t i = 1; i < items.size(); ++i)
        if (std::strncmp(items[i - 1], items[i], 3) > 0) ++outOfOrder;
    EXPECT_EQ(outOfOrder, 3); // cze after cel, faz before fat, slo before slk
}

TEST(SubtitleLists, StoredFieldsChooseTheirItems) {
    EXPECT_EQ(LanguageIndexFor("por"), DefaultLanguageIndex);
    EXPECT_STREQ(LanguageItems()[LanguageIndexFor("eng")], "eng English");
    EXPECT_STREQ(LanguageItems()[LanguageIndexFor("qaa")], "qaa-qtz Reserved for local use");
    EXPECT_EQ(LanguageIndexFor("xyz"), 0);
    EXPECT_EQ(LanguageIndexFor("en"), 0);

    EXPECT_EQ(SubtitleTypeItems().size(), 13u);
    EXPECT_EQ(SubtitleTypeLabel(0x20), "0x20");
    EXPECT_EQ(SubtitleTypeLabel(1), "0x01");
    EXPECT_EQ(SubtitleTypeIndexFor("0x20"), 7);
    EXPECT_EQ(SubtitleTypeIndexFor("0x10"), DefaultSubtitleTypeIndex);
    EXPECT_EQ(SubtitleTypeIndexFor("0x7F"), 0);
    EXPECT_EQ(SubtitleTypeIndexFor(SubtitleTypeLabel(0x1F0)), 0); // "0x1F0" matches no item

    EXPECT_EQ(FirstWord("por Portuguese"), "por");
    EXPECT_EQ(FirstWord("qaa-qtz Reserved for local use"), "qaa-qtz");
    EXPECT_EQ(FirstWord(""), "");
    EXPECT_EQ(FirstWord(SubtitleTypeItems()[3]), "0x10");
}

DataSlot SlotWith(uint8_t enable, int16_t dataType, const char* lang, int32_t subType) {
    DataSlot d{};
    d.PidIn = 120;
    d.PidOut = 220;
    d.Taken = 1;
    d.SubEnable = enable;
    d.DataType = dataType;
    std::memcpy(d.SubLang, lang, std::min<std::size_t>(std::strlen(lang), 3));
    d.SubType = subType;
    return d;
}

TEST(SubtitleWriteBack, StoresTheClosingState) {
    struct Case {
        const char* what;
        SubtitleChoice choice;
        uint8_t enable;
        int16_t dataType;
        const char* lang;
        int32_t subType;
    } cases[] = {
        {"DVB subtitles for the hard of hearing", {true, DataTypeDvb, "eng", "0x20"}, 1, 0, "eng", 0x20},
        {"SCTE stores type 0", {true, DataTypeScte, "eng", "0x20"}, 1, 1, "eng", 0},
        {"empty type keeps the type", {true, DataTypeDvb, "fre", ""}, 1, 0, "fre", 0x11},
        {"long code is cut", {true, DataTypeDvb, "qaa-qtz", "0x01"}, 1, 0, "qaa", 1},
        {"not enabled keeps the rest", {false, DataTypeScte, "eng", "0x20"}, 0, 0, "ger", 0x11},
    };
    for (const Case& c : cases) {
        DataSlot d = SlotWith(1, DataTypeDvb, "ger", 0x11);
        WriteSubtitleChoice(d, c.choice);
        EXPECT_EQ(d.SubEnable, c.enable) << c.what;
        EXPECT_EQ(d.DataType, c.dataType) << c.what;
        EXPECT_EQ(std::string(d.SubLang, strnlen(d.SubLang, sizeof d.SubLang)), c.lang) << c.what;
        EXPECT_EQ(d.SubLang[3], '\0') << c.what;
        EXPECT_EQ(d.SubType, c.subType) << c.what;
        EXPECT_EQ(d.PidIn, 120) << c.what;
        EXPECT_EQ(d.PidOut, 220) << c.what;
        EXPECT_EQ(d.Taken, 1) << c.what;
    }
}

TEST(SubtitleWriteBack, StoredLanguageIsBoundedByItsField) {
    DataSlot d{};
    std::memcpy(d.SubLang, "engX", 4); // no NUL in the field
    EXPECT_EQ(StoredLanguage(d), "eng");
    std::memcpy(d.SubLang, "e\0gX", 4);
    EXPECT_EQ(StoredLanguage(d), "e");
}

} // namespace
} // namespace kv
