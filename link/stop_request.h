#pragma once
// A request to stop what runs now: an interrupt from the terminal, the
// process told to end, the window closed. Whoever learns of it calls
// RequestStop; a transfer looks at StopRequested between its steps, ends
// there and gives the port back. Safe to call from a signal handler.

namespace kv {

// `reason`: the signal number (SIGINT, SIGTERM, SIGHUP), or any non-zero
// number of the caller's. The first request is the one kept.
void RequestStop(int reason);
bool StopRequested();
int StopReason(); // 0 while no stop is requested
void ClearStopRequest();

// SIGINT, SIGTERM and SIGHUP request a stop instead of ending the process;
// a second one ends it at once. (Each platform gives its own; the POSIX one
// is stop_signals_posix.cpp.)
void CatchStopSignals();

// The exit status of a command ended by StopReason(): 128 + the signal.
inline int StoppedExitStatus(int reason) {
    return 128 + reason;
}

} // namespace kv
