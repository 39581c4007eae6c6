#pragma once
// The line settings of the multiplexer's port: 1 500 000 baud, 8 data bits,
// no parity, 1 stop bit, raw bytes, RTS/CTS flow control, modem status lines
// ignored, no software flow control, reads that return what has arrived.

#include <termios.h>

namespace kv {

// Puts the settings into `t`; every other field keeps what the port reported.
void ApplyLineSettings(termios& t);

// True when `t` (as read back from the port) carries the settings above.
bool LineSettingsHeld(const termios& t);

} // namespace kv
