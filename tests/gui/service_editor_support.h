#pragma once
// Drives the service editor as an operator does: picks names and items from
// their drop-downs, types into boxes, clicks buttons and table rows.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <cstring>
#include <memory>

#include "gui_test_support.h"
#include "ui/app_state.h"
#include "ui/kv2208_prog.h"

namespace kv::test {

inline ConfigStore& Store() {
    return TestApp().Store;
}

// The whole store back to its start state: all zero.
inline void ResetStore() {
    std::memset(&Store(), 0, sizeof(ConfigStore));
}

// Every editor test starts from that state.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetStore(); }
};

// Chooses item `index` of a drop-down by opening it, moving to the item and
// pressing Enter, as the operator does (the lists take no typed keys).
inline void PickItem(QComboBox* list, int index) {
    ASSERT_NE(list, nullptr);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, list->count());
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    view->setCurrentIndex(view->model()->index(index, list->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }));
}

inline void PickText(QComboBox* list, const QString& text) {
    ASSERT_NE(list, nullptr);
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    PickItem(list, index);
}

class EditorDriver {
  public:
    // A fresh editor of its own, shown (FormShow) and active.
    explicit EditorDriver(const QStringList& names, const QString& netName = QStringLiteral("NET")) {
        ui::ProgEditorHost host;
        host.ProgramNames = names;
        host.NetName = netName;
        host.EnableSend = [this] { ++sendEnabled; };
        owned_ = std::make_unique<ui::Tfrm_CfgProg>(TestApp().Store, host);
        dialog = owned_.get();
        dialog->show();
        Activate();
    }
    // The editor the main window has opened.
    explicit EditorDriver(ui::Tfrm_CfgProg* open) : dialog(open) {}

    // The offscreen platform activates no window when a message box closes;
    // a desktop gives the activation back to the editor.
    void Activate() const {
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    template <typename T = QWidget> T* Find(const char* name) const {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    QString Text(const char* box) const { return Box(box)->text(); }
    QTableWidget* Table() const { return Find<QTableWidget>("lst_Progs"); }
    int Rows() const { return Table()->rowCount(); }
    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = Table()->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }

    // Typed key by key through the box's key filter.
    void Type(const char* box, const QString& text) const { QTest::keyClicks(Box(box), text); }
    void Press(const char* button) const { QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton); }
    void PickName(const QString& name) const { PickText(Find<QComboBox>("cb_NameProg"), name); }
    void ChooseHex() const { Press("rdg_PidEdit1"); }

    void ClickRow(int row) const {
        QTableWidget* table = Table();
        const QRect cell = table->visualRect(table->model()->index(row, 2));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Picks `name` and fills the boxes of a service with one video and one
    // audio stream: PMT `pmt`, PCR and video in pmt+1 / out pmt+101, audio
    // in pmt+2 / out pmt+102.
    void EnterService(const QString& name, int serviceId, int pmt, int input = 1) const {
        PickName(name);
        PickText(Find<QComboBox>("cb_InAsi"), QString::number(input));
        Type("txt_ServiceID", QString::number(serviceId));
        Type("txt_PidPmt", QString::number(pmt));
        Type("txt_PidPcrIn", QString::number(pmt + 1));
        Type("txt_PidPcrOut", QString::number(pmt + 101));
        Type("txt_PidVidIn", QString::number(pmt + 1));
        Type("txt_PidVidOut", QString::number(pmt + 101));
        Type("txt_PidAud1In", QString::number(pmt + 2));
        Type("txt_PidAud1Out", QString::number(pmt + 102));
    }

    ui::Tfrm_CfgProg* dialog = nullptr;
    int sendEnabled = 0;

  private:
    std::unique_ptr<ui::Tfrm_CfgProg> owned_;
};

} // namespace kv::test
