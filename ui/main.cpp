// kv2208-conf: the operator's window program. Creates the five forms with
// the main window first, runs the message loop, and returns 0, or 128 + the
// signal that ended it.

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "kv_version.h"
#include "link/stop_request.h"
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
int ChosenPort(const QCoreApplication& app) {
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

void NameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("kv2208-conf"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kv::Version));
}

// --help and --version need no display: they are answered before the window
// system is reached.
void AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" || arg == "--version" ||
            arg == "-v") {
            QCoreApplication core(argc, argv);
            NameTheProgram();
            ChosenPort(core); // prints and ends the program
        }
    }
}

// SIGINT, SIGTERM and SIGHUP end the program as its close box would, without
// questions: a running transfer stops at its next step, and the window gives
// the port back as it closes.
void EndOnStopSignals(QCoreApplication& app) {
    kv::CatchStopSignals();
    auto* watch = new QTimer(&app);
    QObject::connect(watch, &QTimer::timeout, &app, [] {
        if (kv::StopRequested()) QCoreApplication::exit(kv::StoppedExitStatus(kv::StopReason()));
    });
    watch->start(100);
}

} // namespace

int main(int argc, char** argv) {
    AnswerHelpOrVersion(argc, argv);
    GuardedApplication app(argc, argv);
    NameTheProgram();
    const int port = ChosenPort(app);
    EndOnStopSignals(app);
    int status = 0;
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
        status = QApplication::exec(); // the window and the channel close on the way out
    } catch (const std::exception& e) {
        kv::ui::ShowError(nullptr, ExceptionText(e));
    } catch (...) {
        kv::ui::ShowError(nullptr, QString());
    }
    return kv::StopRequested() ? status : 0;
}
