#include "link/stop_request.h"

#include <atomic>

namespace kv {
namespace {

std::atomic<int> stopReason{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

} // namespace

void RequestStop(int reason) {
    int none = 0;
    stopReason.compare_exchange_strong(none, reason);
}

bool StopRequested() {
    return stopReason.load() != 0;
}

int StopReason() {
    return stopReason.load();
}

void ClearStopRequest() {
    stopReason.store(0);
}

} // namespace kv
