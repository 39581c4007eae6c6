#include "cli/capture_output.h"

#include <cstdio>

#include "capture/capture_streams.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"

namespace kv::cli {
namespace {

std::string Rate(double bitRate) {
    if (bitRate <= 0) return "rate unknown";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f Mbit/s", bitRate / 1e6);
    return text;
}

const char* KindName(CaptureKind kind) {
    switch (kind) {
    case CaptureKind::Video:
        return "video";
    case CaptureKind::Audio:
        return "audio";
    case CaptureKind::Subtitles:
        return "subtitles";
    case CaptureKind::Data:
        return "data";
    case CaptureKind::Other:
        break;
    }
    return "other";
}

} // namespace

int LoadCapture(const std::string& path, CaptureReading reading, Capture& capture, bool damagedOk) {
    std::string why;
    auto read = ReadCaptureFile(path, reading, why);
    if (!read) {
        Complain(path, "Cannot open the capture.", why);
        return ExitNoInput;
    }
    capture = std::move(*read);
    if (!capture.Refusal.empty()) {
        Complain(path, capture.Refusal);
        return ExitDataErr;
    }
    if (!damagedOk && !capture.Damage.empty()) {
        for (const std::string& damage : capture.Damage) Complain(path, "Damaged capture: " + damage);
        return ExitDataErr;
    }
    return 0;
}

nlohmann::json CaptureJson(const Capture& c) {
    nlohmann::json services = nlohmann::json::array();
    for (const CaptureService& s : c.Services) {
        nlohmann::json streams = nlohmann::json::array();
        for (const CaptureStream& e : s.Streams)
            streams.push_back({{"pid", e.Pid},
                               {"stream_type", e.StreamType},
                               {"kind", KindName(KindOf(e))},
                               {"description", StreamDescription(e)},
                               {"language", e.Language},
                               {"ac3", e.Ac3Descriptor},
                               {"subtitling", e.Subtitling},
                               {"subtitle_language", e.SubtitleLanguage},
                               {"subtitling_type", e.SubtitlingType}});
        services.push_back({{"service_id", s.ServiceId},
                            {"name", s.Name},
                            {"provider", s.Provider},
                            {"pmt_pid", s.PmtPid},
                            {"pmt_found", s.PmtFound},
                            {"pcr_pid", s.PcrPid},
                            {"eit_present", s.EitPresent},
                            {"eit_schedule", s.EitSchedule},
                            {"bit_rate", s.BitRate},
                            {"streams", streams}});
    }
    nlohmann::json pids = nlohmann::json::array();
    for (const CapturePid& p : c.Pids)
        pids.push_back({{"pid", p.Pid},
                        {"packets", p.Packets},
                        {"scrambled", p.Scrambled},
                        {"pcrs", p.Pcrs},
                        {"bit_rate", p.BitRate}});
    return {{"packet_size", c.PacketSize},
            {"first_sync", c.FirstSync},
            {"packets", c.Packets},
            {"whole_file", c.WholeFile},
            {"duration", c.Duration},
            {"bit_rate", c.BitRate},
            {"ts_id", c.TsId ? nlohmann::json(*c.TsId) : nlohmann::json(nullptr)},
            {"services", services},
            {"pids", pids},
            {"notes", c.Notes},
            {"damage", c.Damage}};
}

std::string CaptureText(const Capture& c, bool withPids) {
    std::string text = std::to_string(c.PacketSize) + "-byte packets, " + std::to_string(c.Packets) +
                       " packets read" + (c.WholeFile ? "" : " (the tables only)");
    if (c.Duration > 0) text += ", " + std::to_string(c.Duration).substr(0, 6) + " s, " + Rate(c.BitRate);
    if (c.TsId) text += ", transport stream ID " + std::to_string(*c.TsId);
    text += "\n";
    for (const CaptureService& s : c.Services) {
        text += "Service " + std::to_string(s.ServiceId) + " \"" + s.Name + "\" (" + s.Provider +
                "), PMT PID " + CapturePidText(s.PmtPid) + ", PCR PID " + CapturePidText(s.PcrPid);
        if (c.WholeFile) text += ", " + Rate(s.BitRate);
        text += "\n";
        for (const CaptureStream& e : s.Streams) {
            text += "  PID " + CapturePidText(e.Pid) + ": " + StreamDescription(e);
            if (!e.Language.empty()) text += ", " + e.Language;
            text += "\n";
        }
    }
    if (withPids || c.Services.empty()) {
        text += c.WholeFile ? "PIDs:\n" : "PIDs in the packets read:\n";
        for (const CapturePid& p : c.Pids) {
            text += "  PID " + CapturePidText(p.Pid) + ": " + std::to_string(p.Packets) + " packets";
            if (c.WholeFile) text += ", " + Rate(p.BitRate);
            if (p.Pcrs > 0) text += ", " + std::to_string(p.Pcrs) + " PCRs";
            if (p.Scrambled > 0) text += ", " + std::to_string(p.Scrambled) + " scrambled";
            text += "\n";
        }
    }
    for (const std::string& note : c.Notes) text += note + "\n";
    return text;
}

} // namespace kv::cli
