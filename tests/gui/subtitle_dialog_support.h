#pragma once
// Drives the subtitle dialog as an operator does.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <algorithm>

#include "service_editor_support.h"
#include "ui/subtitle.h"

namespace kv::test {

template <typename T = QWidget> T* In(ui::Tfrm_Subtitle* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Clicks near the left end, where a check box or radio button has its mark.
inline void Click(ui::Tfrm_Subtitle* dialog, const char* name) {
    QAbstractButton* button = In<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(10, button->width() / 2), button->height() / 2));
}

// Ticks "Subtitle Enable" and picks a language and a subtitling type.
inline void ChooseSubtitle(ui::Tfrm_Subtitle* d, const QString& language, const QString& type) {
    Click(d, "chk_SubtitleEnable");
    PickText(In<QComboBox>(d, "cb_LanguageCode"), language);
    PickText(In<QComboBox>(d, "cb_SubtitleType"), type);
}

} // namespace kv::test
