#pragma once
// Captures the tests make themselves with ffmpeg, from one description that
// also says what a reader must find in them: programs with their service
// IDs, names, PMT PIDs and streams on chosen PIDs, with languages.

#include <string>
#include <vector>

#include "model/cli_run.h"

namespace kv::test {

struct MadeStream {
    int Pid;
    const char* Codec;    // ffmpeg encoder: libx264, mpeg2video, mp2, ac3
    int StreamType;       // what the PMT must say
    const char* Language; // "" for none
};

struct MadeProgram {
    int ServiceId;
    const char* Name;
    int PmtPid;
    int PcrPid; // the first stream's PID: the video's, or a radio's audio
    std::vector<MadeStream> Streams;
};

struct MadeCapture {
    const char* File;
    std::vector<std::string> ExtraOptions; // -mpegts_flags system_b, -mpegts_m2ts_mode 1
    std::vector<MadeProgram> Programs;
};

// NEWS (H.264 and English MPEG audio), SPORT (MPEG-2 video, Portuguese MPEG
// audio, Spanish AC-3) and RADIO (MPEG audio only, its PCR on the audio PID).
inline MadeCapture ThreeServices(const char* file = "three.ts", std::vector<std::string> extra = {},
                                 int ac3Type = 0x81) {
    return {file,
            std::move(extra),
            {{101, "NEWS", 4096, 256, {{256, "libx264", 0x1B, ""}, {257, "mp2", 0x03, "eng"}}},
             {202,
              "SPORT",
              4097,
              512,
              {{512, "mpeg2video", 0x02, ""}, {513, "mp2", 0x03, "por"}, {514, "ac3", ac3Type, "spa"}}},
             {303, "RADIO", 4098, 768, {{768, "mp2", 0x03, ""}}}}};
}

// Makes `capture` in `folder` (one second of test pictures and tones); its path.
inline std::string MakeCapture(const TempFolder& folder, const MadeCapture& capture) {
    std::vector<std::string> args = {"-v", "error", "-y"};
    std::vector<std::string> maps, codecs, ids, metadata, programs;
    int index = 0, video = 0, audio = 0;
    for (const MadeProgram& program : capture.Programs) {
        std::string streams;
        for (const MadeStream& s : program.Streams) {
            const bool isVideo = std::string(s.Codec) == "libx264" || std::string(s.Codec) == "mpeg2video";
            args.insert(args.end(),
                        {"-f", "lavfi", "-i",
                         isVideo ? "testsrc=size=160x120:rate=25:duration=1"
                                 : "sine=f=" + std::to_string(300 + 100 * index) + ":duration=1"});
            maps.insert(maps.end(), {"-map", std::to_string(index) + ":0"});
            const std::string which =
                isVideo ? "v:" + std::to_string(video++) : "a:" + std::to_string(audio++);
            codecs.insert(codecs.end(), {"-c:" + which, s.Codec});
            if (std::string(s.Codec) == "libx264") codecs.insert(codecs.end(), {"-preset", "ultrafast"});
            ids.insert(ids.end(), {"-streamid", std::to_string(index) + ":" + std::to_string(s.Pid)});
            if (*s.Language)
                metadata.insert(metadata.end(),
                                {"-metadata:s:" + which, std::string("language=") + s.Language});
            streams += ":st=" + std::to_string(index);
            ++index;
        }
        programs.insert(programs.end(), {"-program", "program_num=" + std::to_string(program.ServiceId) +
                                                         ":title=" + program.Name + streams});
    }
    for (const auto* part : {&maps, &codecs, &ids, &metadata, &programs})
        args.insert(args.end(), part->begin(), part->end());
    args.insert(args.end(), {"-mpegts_pmt_start_pid", std::to_string(capture.Programs.front().PmtPid)});
    args.insert(args.end(), capture.ExtraOptions.begin(), capture.ExtraOptions.end());
    const std::string path = folder.File(capture.File);
    args.push_back(path);
    RunProgram(folder, "ffmpeg", args, "nice ");
    return path;
}

} // namespace kv::test
