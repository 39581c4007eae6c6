#include "capture/capture_streams.h"

#include <cstdio>

namespace kv {
namespace {

struct TypeName {
    int StreamType;
    CaptureKind Kind;
    const char* Name;
};

constexpr TypeName TypeNames[] = {
    {0x01, CaptureKind::Video, "MPEG-1 video"}, {0x02, CaptureKind::Video, "MPEG-2 video"},
    {0x10, CaptureKind::Video, "MPEG-4 video"}, {0x1B, CaptureKind::Video, "H.264 video"},
    {0x1A, CaptureKind::Video, "MPEG-4 video"}, {0x24, CaptureKind::Video, "HEVC video"},
    {0x03, CaptureKind::Audio, "MPEG-1 audio"}, {0x04, CaptureKind::Audio, "MPEG-2 audio"},
    {0x0F, CaptureKind::Audio, "AAC audio"},    {0x11, CaptureKind::Audio, "HE-AAC audio"},
    {0x81, CaptureKind::Audio, "AC-3 audio"},   {0x82, CaptureKind::Data, "SCTE data"},
    {0x06, CaptureKind::Data, "private data"},
};

} // namespace

CaptureKind KindOf(const CaptureStream& s) {
    if (s.StreamType == 0x06 && s.Ac3Descriptor) return CaptureKind::Audio;
    if (s.StreamType == 0x06 && s.Subtitling) return CaptureKind::Subtitles;
    for (const TypeName& t : TypeNames)
        if (t.StreamType == s.StreamType) return t.Kind;
    return CaptureKind::Other;
}

std::string StreamDescription(const CaptureStream& s) {
    if (s.StreamType == 0x06 && s.Ac3Descriptor) return "AC-3 audio";
    if (s.StreamType == 0x06 && s.Subtitling) return "DVB subtitles";
    for (const TypeName& t : TypeNames)
        if (t.StreamType == s.StreamType) return t.Name;
    char text[32];
    std::snprintf(text, sizeof text, "stream type 0x%02X", static_cast<unsigned>(s.StreamType));
    return text;
}

std::string CapturePidText(int pid) {
    char text[32];
    std::snprintf(text, sizeof text, "%d (0x%04X)", pid, static_cast<unsigned>(pid));
    return text;
}

} // namespace kv
