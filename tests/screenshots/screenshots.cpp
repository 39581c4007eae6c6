// screenshots: saves a picture of every window, drawn on Qt's offscreen
// platform, into the folder named by its argument (scripts/screenshots
// passes build/screenshots). Built with the tests; no test runs it.

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <exception>

#include "screenshots/shots.h"

// The GUI libraries keep allocations for the whole process; a sanitizer
// build would report them at exit and fail the run.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: screenshots FOLDER\n", stderr);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    int failed = 0;
    for (const kv::shots::Shot& shot : kv::shots::Shots()) {
        const QString path = folder.absoluteFilePath(QString::fromLatin1(shot.File));
        try {
            kv::shots::Stage stage;
            const std::unique_ptr<QWidget> window = shot.Open(stage);
            if (!window->grab().save(path)) throw std::runtime_error("cannot write the picture");
            std::printf("%s\n", qPrintable(path));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", shot.File, e.what());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
