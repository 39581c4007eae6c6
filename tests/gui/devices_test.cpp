// "Serial devices...": binding a port to the simulator's terminal from the
// list, Connect over it, and the port back to its default.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "gui_test_support.h"
#include "link/serial_devices.h"
#include "main_window_support.h"

namespace kv::test {
namespace {

class DevicesDialogTest : public MainWindowTest {
  protected:
    // Opens the dialog from the Config menu and runs `act` on it once shown.
    void InDevicesDialog(const std::function<void(QDialog&)>& act) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QDialog* dialog = nullptr;
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return (dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) != nullptr;
            }));
            EXPECT_EQ(dialog->objectName(), "frm_Devices");
            act(*dialog);
            ran = true;
            dialog->findChild<QPushButton*>("bt_Close")->click();
        });
        Action("mn_Devices")->trigger();
        EXPECT_TRUE(ran);
    }
    static QListWidget& List(QDialog& dialog, const char* name) {
        return *dialog.findChild<QListWidget*>(name);
    }
};

TEST_F(DevicesDialogTest, Com4BoundToTheSimulatorsTerminalConnectsAndUnbindsToItsDefault) {
    StartSimulator(2);
    Shown();
    Action("mn_4")->trigger();
    const QString terminal = QString::fromStdString(simulator_->SlavePath());

    InDevicesDialog([&](QDialog& dialog) {
        List(dialog, "lst_Ports").setCurrentRow(3);
        const auto found = List(dialog, "lst_Devices").findItems(terminal, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << "the simulator's terminal is offered";
        List(dialog, "lst_Devices").setCurrentItem(found.front());
        dialog.findChild<QPushButton*>("bt_Bind")->click();
        EXPECT_EQ(List(dialog, "lst_Ports").item(3)->text(), "COM4  " + terminal);
    });
    Control<QAbstractButton>("bt_Connect")->click();
    ASSERT_TRUE(TestApp().Channel->Connected());
    EXPECT_FALSE(Action("mn_Devices")->isEnabled()) << "disabled while connected, like Port";
    Control<QAbstractButton>("bt_Disconnect")->click();
    ASSERT_TRUE(Action("mn_Devices")->isEnabled());

    InDevicesDialog([&](QDialog& dialog) {
        List(dialog, "lst_Ports").setCurrentRow(3);
        dialog.findChild<QPushButton*>("bt_Default")->click();
    });
    EXPECT_EQ(DescribePort(folder_, 4).DevicePath, "/dev/ttyS3");
    EXPECT_FALSE(DescribePort(folder_, 4).Linked);

    // A device the list does not find is typed; one that is not there is refused.
    BoxAnswerer boxes;
    InDevicesDialog([&](QDialog& dialog) {
        List(dialog, "lst_Ports").setCurrentRow(4);
        auto* typed = dialog.findChild<QLineEdit*>("txt_Device");
        typed->setText("/dev/ttyXR9-not-here");
        dialog.findChild<QPushButton*>("bt_Bind")->click();
        typed->setText(terminal);
        dialog.findChild<QPushButton*>("bt_Bind")->click();
    });
    EXPECT_EQ(boxes.Texts(), QStringList{"/dev/ttyXR9-not-here does not exist"});
    EXPECT_EQ(DescribePort(folder_, 5).DevicePath, terminal.toStdString());
}

} // namespace
} // namespace kv::test
