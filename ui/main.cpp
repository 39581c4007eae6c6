// kv2208-conf: the operator's window program. Creates the five forms with
// the main window first, runs the message loop, and returns 0 in every case.

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "kv_version.h"
#include "model/app_paths.h"
#include "ui/app_state.h"
#include "ui/kv2208_about.h"
#include "ui/kv2208_conf.h"
#include "ui/kv2208_ghost.h"
#include "ui/kv2208_prog.h"
#include "ui/message_box.h"
#include "ui/subtitle.h"

// In a sanitizer build, the leak check at exit would report what the GUI
// libraries keep for the whole process (D-Bus, fonts) and turn the exit code
// into 1; the program returns 0 in every case.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

namespace {

QString ExceptionText(const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
}

// An exception that escapes a handler is shown in an error box and the
// message loop goes on.
class GuardedApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            kv::ui::ShowError(nullptr, ExceptionText(e));
        } catch (...) {
            kv::ui::ShowError(nullptr, QString());
        }
        return false;
    }
};

// --port N: the port chosen at start as the port menu chooses it (and
// remembers it). --help and --version end the program here.
int ChosenPort(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configuration tool of the KV2200-8 multiplexer"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Choose serial port COM<N> (1..9) at start."),
                                  QStringLiteral("N"));
    parser.addOption(port);
    parser.process(app);
    if (!parser.isSet(port)) return 0;
    bool number = false;
    const int n = parser.value(port).toInt(&number);
    if (!number || n < 1 || n > 9) {
        std::fputs("kv2208-conf: --port needs a port number 1..9\n", stderr);
        std::exit(1);
    }
    return n;
}

} // namespace

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kv2208-conf"));
    QApplication::setApplicationVersion(QString::fromLatin1(kv::Version));
    const int port = ChosenPort(app);
    try {
        // The program's one state: it outlives every window handed it.
        kv::ui::AppState state;
        state.SetAppFolder(kv::ExecutableFolder());
        // The other four forms stay hidden: each dialog is opened as a fresh
        // instance of its own.
        kv::ui::Tfrm_CfgMux frm_CfgMux(state);
        kv::ui::Tfrm_CfgProg frm_CfgProg(state.Store, kv::ui::ProgEditorHost{});
        kv::ui::Tfrm_About frm_About;
        Tfrm_CfgGhost frm_CfgGhost(state.Store, {});
        kv::ui::Tfrm_Subtitle frm_Subtitle;
        frm_CfgMux.show();
        if (port > 0) frm_CfgMux.findChild<QAction*>(QStringLiteral("mn_%1").arg(port))->trigger();
        QApplication::exec();
    } catch (const std::exception& e) {
        kv::ui::ShowError(nullptr, ExceptionText(e));
    } catch (...) {
        kv::ui::ShowError(nullptr, QString());
    }
    return 0;
}
