// Every window the pictures show fits the screen: its frame lies within the
// screen's available area. CTest runs this program on a 1366x768 screen at
// 100 % and on a 1920x1080 screen at 150 % and 200 % (QT_SCALE_FACTOR);
// KV_SCREEN names the screen's size in device pixels, so a run on another
// screen fails rather than passes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "screenshots/shots.h"

extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

namespace kv::shots {
namespace {

TEST(WindowsFitTheScreen, EveryFrameLiesWithinTheAvailableArea) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QSize device = screen->geometry().size() * screen->devicePixelRatio();
    const QString size = QStringLiteral("%1x%2").arg(device.width()).arg(device.height());
    ASSERT_EQ(size, qEnvironmentVariable("KV_SCREEN", size)) << "the screen is not the one asked for";
    for (const Shot& shot : Shots()) {
        SCOPED_TRACE(shot.File);
        Stage stage;
        const std::unique_ptr<QWidget> window = shot.Open(stage);
        const QRect frame = window->frameGeometry();
        const QRect room = window->screen()->availableGeometry();
        EXPECT_TRUE(room.contains(frame))
            << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height()
            << " on " << room.width() << "x" << room.height();
    }
}

} // namespace
} // namespace kv::shots

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
