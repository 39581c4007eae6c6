// Disconnect, Exit and the close box ask before services or ghost entries changed since the
// last Save, Open, successful "Send Mux" or "Get" are lost; with nothing
// changed they act at once.

#include <functional>

#include "model/model_test_support.h"
#include "program_list_support.h"
#include "tables/tables_test_support.h"

namespace kv::test {
namespace {

const QString Question = QStringLiteral("Programs not saved will be lost. Continue?");

class UnsavedWork : public ConnectedWindowTest {
  protected:
    void Press(const char* button) { Control<QAbstractButton>(button)->click(); }
};

TEST_F(UnsavedWork, DisconnectExitAndCloseBoxAskBeforeChangedServicesOrGhostsAreLost) {
    struct Case {
        const char* what;
        std::function<void(ConfigStore&)> change;
        bool exitAsksAfterDisconnect; // Disconnect drops the services, keeps the ghost entries
    } cases[] = {
        {"services", [](ConfigStore& s) { FillServices(s, {"NEWS"}); }, false},
        {"ghost entries", [](ConfigStore& s) { AddGhost(s, 2, 100, 200); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        processEnds_ = 0;
        c.change(TestApp().Store);
        Connect();
        const std::vector<uint8_t> before = BytesOf(TestApp().Store);
        BoxAnswerer boxes(QMessageBox::No);
        Press("bt_Disconnect");
        Action("mn_Exit")->trigger();
        EXPECT_EQ(boxes.Texts(), QStringList({Question, Question}));
        EXPECT_TRUE(TestApp().Channel->Connected());
        EXPECT_EQ(BytesOf(TestApp().Store), before);
        EXPECT_EQ(processEnds_, 0);
        EXPECT_TRUE(Build().isVisible());
        EXPECT_FALSE(Build().close()); // the close box, answered No
        EXPECT_EQ(boxes.Texts().size(), 3);
        EXPECT_TRUE(Build().isVisible());

        boxes.QueueAnswers({QMessageBox::Yes});
        Press("bt_Disconnect");
        EXPECT_FALSE(TestApp().Channel->Connected());
        Press("bt_Exit"); // answered No when asked
        EXPECT_EQ(boxes.Texts().size(), c.exitAsksAfterDisconnect ? 5 : 4);
        EXPECT_EQ(processEnds_, c.exitAsksAfterDisconnect ? 0 : 1);
    }
}

TEST_F(UnsavedWork, NothingIsAskedAfterSaveOpenSendOrGet) {
    auto file = [this](const char* button) {
        AnswerFileDialog(QString::fromStdString(folder_ + "Config/kept.mux"));
        Press(button);
    };
    struct Case {
        const char* what;
        std::function<void()> settle; // runs on changed services and ghost entries
    } cases[] = {
        {"Save", [&] { file("bt_Save"); }},
        {"Open",
         [&] {
             file("bt_Save");
             AddGhost(TestApp().Store, 3, 300, 301);
             file("bt_Open");
         }},
        {"Send Mux", [&] { Press("bt_Send"); }},
        {"Get",
         [&] {
             Press("bt_Send");
             AddGhost(TestApp().Store, 3, 300, 301);
             Press("bt_Get");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        FillServices(TestApp().Store, {"NEWS"});
        AddGhost(TestApp().Store, 2, 100, 200);
        Connect();
        BoxAnswerer boxes(QMessageBox::No);
        c.settle();
        QCoreApplication::processEvents();
        Press("bt_Disconnect");
        EXPECT_FALSE(boxes.Texts().contains(Question)) << boxes.Texts().join("|").toStdString();
        EXPECT_FALSE(TestApp().Channel->Connected());
    }
}

} // namespace
} // namespace kv::test
