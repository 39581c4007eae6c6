// GUI tests run the real windows on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

// Qt and the font libraries keep process-lifetime allocations that the leak
// checker would report at exit; the windows' own leaks are not what these
// tests measure.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    // A large screen, where every window keeps the size it is built with.
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" KV_SOURCE_DIR "/tests/screenshots/screen_1920x1080.json");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
