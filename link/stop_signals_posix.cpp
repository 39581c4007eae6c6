#include <signal.h>

#include <initializer_list>

#include "link/stop_request.h"

namespace kv {
namespace {

void OnStopSignal(int signal) {
    if (StopRequested()) {
        // Asked twice: the default action ends the process now.
        ::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    RequestStop(signal);
}

} // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking wait returns and looks at the request
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

} // namespace kv
