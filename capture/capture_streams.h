#pragma once
// What an elementary stream of a capture is, by its stream_type and
// descriptors: how the scan names it and which box of a service takes it.

#include <string>

#include "capture/capture.h"

namespace kv {

enum class CaptureKind { Video, Audio, Subtitles, Data, Other };

CaptureKind KindOf(const CaptureStream& stream);

// "H.264 video", "AC-3 audio", "DVB subtitles", "stream type 0x05"
std::string StreamDescription(const CaptureStream& stream);

// "4096 (0x1000)"
std::string CapturePidText(int pid);

} // namespace kv
