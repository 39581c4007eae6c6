// The Programs group's operations as menu items, so the window can be used
// without a mouse; the About box on the desktop's centre; the disabled look
// of the network boxes.

#include <QAbstractButton>
#include <QMenu>
#include <QScreen>

#include "gui_test_support.h"
#include "main_window_support.h"
#include "ui/kv2208_about.h"

namespace kv::test {
namespace {

struct MenuItem {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* button; // shares its handler and its enabled state
};

const MenuItem ProgramItems[] = {
    {"mn_Open", "&Open...", "Ctrl+O", "bt_Open"},
    {"mn_Save", "&Save...", "Ctrl+S", "bt_Save"},
    {"mn_Get", "&Get", "", "bt_Get"},
    {"mn_Send", "Send &Mux", "Ctrl+M", "bt_Send"},
    {"mn_Edit", "&Edit programs...", "", "bt_Edit"},
    {"mn_Ghost", "&Ghost PIDs...", "", "bt_Ghost"},
    {"mn_Capture", "Services from &capture...", "", "bt_Add"},
};

QStringList Names(const QList<QAction*>& actions) {
    QStringList names;
    for (QAction* a : actions) names.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

TEST_F(MainWindowTest, ProgramsOperationsAreMenuItemsEnabledWithTheirButtons) {
    Build();
    EXPECT_EQ(Names(Control<QMenu>("mn_File")->actions()),
              QStringList({"mn_Connect", "mn_Disconnect", "mn_Open", "mn_Save", "-", "mn_Get", "mn_Send", "-",
                           "mn_Exit"}));
    const QStringList config = Names(Control<QMenu>("mn_Config")->actions());
    EXPECT_EQ(config.indexOf("mn_Ghost"), config.indexOf("mn_Edit") + 1);
    EXPECT_GT(config.indexOf("mn_Edit"), 0); // below "Port"

    auto expectFollows = [this](const char* when) {
        for (const MenuItem& m : ProgramItems)
            EXPECT_EQ(Action(m.name)->isEnabled(), Control(m.button)->isEnabled()) << m.name << " " << when;
    };
    expectFollows("at start");
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    expectFollows("connected with a service");
    EXPECT_TRUE(Action("mn_Send")->isEnabled());
    for (const MenuItem& m : ProgramItems) {
        EXPECT_EQ(Action(m.name)->text(), m.caption);
        EXPECT_EQ(Action(m.name)->shortcut().toString(), m.shortcut) << m.name;
    }

    // The keyboard reaches the handlers: Ctrl+M sends.
    BoxAnswerer boxes;
    QTest::keyClick(&Build(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(boxes.Texts(), QStringList({"Process successful!"}));
}

TEST_F(MainWindowTest, AboutOpensOnTheDesktopCentreAndDisabledNetworkBoxesLookDisabled) {
    Shown();
    Build().move(0, 0);
    QPoint aboutCentre;
    WhenModal<ui::Tfrm_About>([&](ui::Tfrm_About* about) {
        aboutCentre = about->geometry().center();
        about->accept();
    });
    Control<QAbstractButton>("bt_About")->click();
    const QPoint desktopCentre = Build().screen()->availableGeometry().center();
    EXPECT_LE((aboutCentre - desktopCentre).manhattanLength(), 8)
        << aboutCentre.x() << "," << aboutCentre.y();

    for (const char* name : {"txt_NetName", "txt_BitRate", "txt_TSID"}) {
        const QPalette palette = Box(name)->palette();
        EXPECT_NE(palette.color(QPalette::Disabled, QPalette::Base), palette.color(QPalette::ToolTipBase))
            << name;
        EXPECT_EQ(palette.color(QPalette::Active, QPalette::Base), palette.color(QPalette::ToolTipBase))
            << name;
    }
}

} // namespace
} // namespace kv::test
