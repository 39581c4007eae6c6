#include "link/line_settings.h"

namespace kv {

void ApplyLineSettings(termios& t) {
    cfmakeraw(&t); // binary: no echo, no line editing, no character translation or stripping
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL | CRTSCTS;
    t.c_cc[VMIN] = 0; // reads are bounded by poll, not by the driver
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B1500000);
    cfsetospeed(&t, B1500000);
}

bool LineSettingsHeld(const termios& t) {
    return cfgetispeed(&t) == B1500000 && cfgetospeed(&t) == B1500000 && (t.c_cflag & CSIZE) == CS8 &&
           (t.c_cflag & (PARENB | CSTOPB)) == 0 && (t.c_cflag & CRTSCTS) != 0 &&
           (t.c_iflag & (IXON | IXOFF | ISTRIP | INLCR | ICRNL)) == 0 && (t.c_oflag & OPOST) == 0 &&
           (t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0;
}

} // namespace kv
