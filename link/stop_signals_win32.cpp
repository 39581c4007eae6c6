// Windows: Ctrl+C, Ctrl+Break and the console's close request a stop as
// SIGINT, SIGTERM and SIGHUP do on Linux, so a command ends with the same
// message and exit status; a second one ends the process at once.
#include <windows.h>

#include <csignal>

#include "link/stop_request.h"

namespace kv {
namespace {

constexpr int HangUp = 1; // SIGHUP's number, which Windows has no name for

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (StopRequested()) return FALSE; // asked twice: the default handler ends the process
    switch (event) {
    case CTRL_C_EVENT:
        RequestStop(SIGINT);
        return TRUE;
    case CTRL_BREAK_EVENT:
        RequestStop(SIGTERM);
        return TRUE;
    case CTRL_CLOSE_EVENT:
        RequestStop(HangUp);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void CatchStopSignals() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

} // namespace kv
