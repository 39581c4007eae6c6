#pragma once
// A fixture for the main window tests: a fresh TestApp() state on a scratch
// program folder, the real window shown and active, and a simulated
// multiplexer on demand.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "link/device_simulator.h"
#include "model/model_test_support.h"
#include "model/store_ops.h"
#include "ops/bit_rate_entry.h"
#include "ui/app_state.h"
#include "ui/kv2208_conf.h"
#include "ui/port_file.h"

namespace kv::test {

// One service per name on input 1: PMT 256 + i, video and PCR 101 + 10i,
// one audio 102 + 10i, the rate of 38 000 000 bit/s in Byte mode.
inline void FillServices(ConfigStore& store, std::initializer_list<const char*> names) {
    ServiceBlock& sb = store.Svc;
    const int count = static_cast<int>(names.size());
    InitServiceSlots(sb, count);
    sb.SvcCount = static_cast<int16_t>(count);
    SetText(sb.NetName, "BRIMCO NET");
    int i = 0;
    for (const char* name : names) {
        const auto pid = [i](int base) { return static_cast<int16_t>(base + 10 * i); };
        sb.SvcInput[i] = 1;
        sb.SvcPmtPid[i] = static_cast<int16_t>(256 + i);
        sb.SvcInfo[i].ServiceId = static_cast<uint16_t>(1 + i);
        SetText(sb.SvcInfo[i].Name, name);
        SetText(sb.SvcInfo[i].Provider, "BRIMCO NET");
        ServicePids& p = sb.SvcPids[i];
        p.PmtPid = sb.SvcPmtPid[i];
        p.ServiceId = sb.SvcInfo[i].ServiceId;
        p.PcrIn = p.PcrOut = p.VideoIn = p.VideoOut = pid(101);
        p.Audio[0].PidIn = p.Audio[0].PidOut = pid(102);
        p.GenPmt = 1;
        ++i;
    }
    ASSERT_EQ(ApplyBitRateEntry(store, "38000000", true).outcome, BitRateEntry::Outcome::Applied);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kv_mainwin_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = std::string(pattern) + "/";
        std::filesystem::create_directory(folder_ + "Config");
        ui::AppState& app = TestApp();
        app.Channel.reset();
        app.Store = ConfigStore{};
        app.PatVersion = 0;
        app.ComPort = 0;
        app.Timing = TransferTiming{};
        TestApp().SetAppFolder(folder_);
    }

    void TearDown() override {
        window_.reset();
        TestApp().Channel.reset();
        simulator_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    // Builds the window (FormCreate) without showing it.
    ui::Tfrm_CfgMux& Build() {
        if (!window_) {
            window_ = std::make_unique<ui::Tfrm_CfgMux>(TestApp());
            window_->EndProcess = [this] { ++processEnds_; };
        }
        return *window_;
    }

    // Builds, shows (FormShow) and activates (FormActivate) the window.
    ui::Tfrm_CfgMux& Shown() {
        ui::Tfrm_CfgMux& w = Build();
        if (!w.isVisible()) {
            w.show();
            w.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        }
        return w;
    }

    template <typename T = QWidget> T* Control(const char* name) {
        T* control = Build().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QAction* Action(const char* name) { return Control<QAction>(name); }
    QLineEdit* Box(const char* name) { return Control<QLineEdit>(name); }
    bool PortMenuEnabled() { return Control<QMenu>("mn_Port")->menuAction()->isEnabled(); }

    // Activation as the window gets it when the operator returns to it.
    void Reactivate() {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&Build(), &activate);
    }

    // A simulated multiplexer reachable as port `port` of the scratch folder,
    // with the port file naming it; `held` is the image it holds before
    // anything is sent.
    void StartSimulator(int port = 1, SimulatorOptions options = {}, const std::vector<uint8_t>& held = {}) {
        simulator_ = std::make_unique<DeviceSimulator>(options);
        if (!held.empty()) simulator_->PreloadImage(held);
        std::string error;
        ASSERT_TRUE(simulator_->Start(&error)) << error;
        ASSERT_TRUE(simulator_->LinkAsPort(folder_, port, &error)) << error;
        ASSERT_TRUE(ui::WritePortFile(TestApp().PortFile, static_cast<int16_t>(port)));
    }

    // Shown over whatever the store holds, then connected to the simulator
    // on `port` (started here unless a test started its own).
    void Connect(int port = 1) {
        if (!simulator_) StartSimulator(port);
        Shown();
        Control<QAbstractButton>("bt_Connect")->click();
        ASSERT_TRUE(TestApp().Channel && TestApp().Channel->Connected());
    }

    // Focus moves only inside the active window. The offscreen platform has
    // no window manager to hand the activation back when a message box
    // closes; the operator's click does that.
    static void Activate(QWidget* window) {
        if (window->isActiveWindow()) return;
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // Leaves the box for `next`, as a click into another box does.
    static void Leave(QLineEdit* box, QWidget* next) {
        Activate(box->window());
        box->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        next->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    // Types `text` into the box and leaves it for `next`.
    static void Enter(QLineEdit* box, const QString& text, QWidget* next) {
        Activate(box->window());
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        Leave(box, next);
    }

    std::vector<uint8_t> ReadFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string folder_;
    std::unique_ptr<ui::Tfrm_CfgMux> window_;
    std::unique_ptr<DeviceSimulator> simulator_;
    int processEnds_ = 0;
};

} // namespace kv::test
