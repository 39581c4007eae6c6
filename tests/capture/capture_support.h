#pragma once
// A capture as the reader gives it, built by hand: NEWS (H.264, English MPEG
// audio), SPORT (MPEG-2 video, Portuguese MPEG audio, Spanish AC-3 as private
// data with its descriptor, Portuguese subtitles) and RADIO (MPEG audio
// carrying the PCR), every PID present with PCRs on the PCR PIDs.

#include "capture/capture.h"

namespace kv::test {

inline CaptureStream Stream(int pid, int type, const char* language = "", bool ac3 = false,
                            int subtitling = 0) {
    CaptureStream s;
    s.Pid = pid;
    s.StreamType = type;
    s.Language = language;
    s.Ac3Descriptor = ac3;
    s.Subtitling = subtitling != 0;
    if (s.Subtitling) s.SubtitleLanguage = language;
    s.SubtitlingType = subtitling;
    return s;
}

inline CaptureService Service(int id, const char* name, int pmtPid, int pcrPid,
                              std::vector<CaptureStream> streams) {
    CaptureService s;
    s.ServiceId = id;
    s.Name = name;
    s.PmtPid = pmtPid;
    s.PmtFound = true;
    s.PcrPid = pcrPid;
    s.Streams = std::move(streams);
    return s;
}

inline Capture ThreeServiceCapture() {
    Capture c;
    c.WholeFile = true;
    c.Services = {
        Service(101, "NEWS", 4096, 256, {Stream(256, 0x1B), Stream(257, 0x03, "eng")}),
        Service(202, "SPORT", 4097, 512,
                {Stream(512, 0x02), Stream(513, 0x03, "por"), Stream(514, 0x06, "spa", true),
                 Stream(515, 0x06, "por", false, 0x10)}),
        Service(303, "RADIO", 4098, 768, {Stream(768, 0x03)}),
    };
    for (int pid : {0, 17, 256, 257, 512, 513, 514, 515, 768, 4096, 4097, 4098})
        c.Pids.push_back({pid, 100, 0, pid == 256 || pid == 512 || pid == 768 ? 10 : 0, 1e5});
    return c;
}

} // namespace kv::test
