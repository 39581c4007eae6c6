// What the serial channel does the same on every system: the state it
// reports, a record sent (reopening a lost link first) and a record taken
// from the receive ring. The port itself is serial_channel.cpp (POSIX) or
// serial_channel_win32.cpp (Windows).
#include "link/serial_channel.h"

namespace kv {

bool SerialChannel::Connected() const {
    return connected_;
}

int SerialChannel::ReceiveThreadCount() const {
    return receiveThreads_;
}

void SerialChannel::SendRecord(const uint8_t* record) {
    if (stop_) return;
    // Open() first joins the receive thread of the lost link, so there is
    // never more than one, and the lock outlives both.
    if (!connected_ && !OpenAt(portName_, devicePath_)) return;
    WriteBytes(record, LineRecordSize);
}

bool SerialChannel::TakeRecord(uint8_t* record) {
    return ring_.Pop(record);
}

} // namespace kv
