#include "ops/capture_import.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "capture/capture_streams.h"
#include "model/bounded_text.h"
#include "model/pid_text.h"
#include "model/service_streams.h"
#include "model/store_ops.h"
#include "model/subtitle_settings.h"
#include "ops/operator_messages.h"
#include "ops/output_pid_uses.h"
#include "ops/program_names.h"
#include "ops/service_entry.h"
#include "tables/image_writer.h"
#include "tables/stream_types.h"

namespace kv {
namespace {

constexpr int FirstFreePid = 0x0020; // below it: PAT, NIT, SDT and the reserved tables
constexpr int LastFreePid = 0x1FFE;

// The output PIDs in use, and where each input PID already goes out: a
// source carried twice shares its output PID.
class OutputPids {
  public:
    explicit OutputPids(const ConfigStore& store) {
        for (const PidUse& use : OutputPidUses(store)) {
            used_.insert(use.Pid);
            if (!use.Generated()) bySource_.emplace(std::make_pair(use.Input, use.InputPid), use.Pid);
        }
    }

    // `wanted` when free, else the next free PID above it (wrapping round).
    int Take(int wanted) {
        const int span = LastFreePid - FirstFreePid + 1;
        const int start = std::clamp(wanted, FirstFreePid, LastFreePid) - FirstFreePid;
        for (int k = 0; k < span; ++k) {
            const int pid = FirstFreePid + (start + k) % span;
            if (used_.insert(pid).second) return pid;
        }
        return PidNone;
    }

    int TakeFor(int input, int inputPid) {
        const auto [at, fresh] = bySource_.try_emplace({input, inputPid}, 0);
        if (fresh) at->second = Take(inputPid);
        return at->second;
    }

  private:
    std::set<int> used_;
    std::map<std::pair<int, int>, int> bySource_;
};

std::string Named(const CaptureService& s) {
    return CaptureServiceName(s) + " (service " + std::to_string(s.ServiceId) + ")";
}

// The store's type code of a stream for the box it goes into.
std::optional<int16_t> TypeFor(StreamKind box, const CaptureStream& s) {
    if (box == StreamKind::Video) return VideoTypeOf(static_cast<uint8_t>(s.StreamType));
    if (box == StreamKind::Audio)
        return s.Ac3Descriptor ? std::optional<int16_t>(4) : AudioTypeOf(static_cast<uint8_t>(s.StreamType));
    return DataTypeOf(static_cast<uint8_t>(s.StreamType));
}

const char* BoxName(StreamKind box) {
    return box == StreamKind::Video ? "video" : box == StreamKind::Audio ? "audio" : "data";
}

std::optional<StreamKind> BoxFor(const CaptureStream& s) {
    switch (KindOf(s)) {
    case CaptureKind::Video:
        return StreamKind::Video;
    case CaptureKind::Audio:
        return StreamKind::Audio;
    case CaptureKind::Subtitles:
    case CaptureKind::Data:
        return StreamKind::Data;
    case CaptureKind::Other:
        break;
    }
    return std::nullopt;
}

// The capture's service in slot `i` of `store` (a copy of the real one).
void StoreService(ConfigStore& store, int i, const CaptureService& s, int input, OutputPids& outputs,
                  std::vector<std::string>& left) {
    ServiceBlock& sb = store.Svc;
    sb.SvcInput[i] = static_cast<int16_t>(input);
    ServiceInfo& info = sb.SvcInfo[i];
    info.ServiceId = static_cast<uint16_t>(s.ServiceId);
    info.EitPresent = s.EitPresent ? 1 : 0;
    info.EitSchedule = s.EitSchedule ? 1 : 0;
    WriteName(info.Provider, BoundedText(sb.NetName), "");
    WriteName(info.Name, CaptureServiceName(s), "");

    ServicePids& p = sb.SvcPids[i];
    const DataSlot emptyData{};
    for (StreamRef ref : StreamsOf(p)) ref.PidIn = ref.PidOut = PidNone;
    for (DataSlot& d : p.Data) {
        d = emptyData;
        d.PidIn = d.PidOut = PidNone;
    }
    for (AudioSlot& a : p.Audio) a.Taken = 0;
    p.ServiceId = info.ServiceId;
    p.GenPmt = 1;
    p.PcrAdjust = 1;
    p.PmtPid = static_cast<int16_t>(outputs.Take(s.PmtPid));
    sb.SvcPmtPid[i] = p.PmtPid;

    std::map<StreamKind, int> filled;
    const auto streams = StreamsOf(p);
    for (const CaptureStream& e : s.Streams) {
        const auto box = BoxFor(e);
        const int slots = box == StreamKind::Audio ? AudioSlots : box == StreamKind::Data ? DataSlots : 1;
        if (!box || filled[*box] >= slots) {
            left.push_back(CaptureServiceName(s) + ": PID " + CapturePidText(e.Pid) + ", " +
                           StreamDescription(e) +
                           (box ? std::string(": no free ") + BoxName(*box) + " box." : ": no box for it."));
            continue;
        }
        const int slot = filled[*box]++;
        const StreamRef& ref = streams[StreamIndex(*box, slot)];
        ref.PidIn = static_cast<int16_t>(e.Pid);
        ref.PidOut = static_cast<int16_t>(outputs.TakeFor(input, e.Pid));
        if (const auto type = TypeFor(*box, e); type && ref.Type) *ref.Type = *type;
        if (*box == StreamKind::Data && e.Subtitling) {
            char type[8];
            std::snprintf(type, sizeof type, "0x%02X", static_cast<unsigned>(e.SubtitlingType & 0xFF));
            WriteSubtitleChoice(p.Data[slot], {true, p.Data[slot].DataType, e.SubtitleLanguage, type});
        }
    }
    if (s.PcrPid >= 0 && s.PcrPid < PidNone) {
        p.PcrIn = static_cast<int16_t>(s.PcrPid);
        p.PcrOut = static_cast<int16_t>(outputs.TakeFor(input, s.PcrPid));
    }
}

// Why `s` cannot be stored as it stands in `store`, if it cannot.
std::optional<std::string> Refusal(const ConfigStore& store, const CaptureService& s) {
    if (!s.PmtFound) return "The capture holds no complete PMT of it.";
    if (ProgramServiceSlot(store.Svc, CaptureServiceName(s)))
        return "A service named " + CaptureServiceName(s) + " is already in the list.";
    for (int i = 0; i < ServicesOf(store); ++i)
        if (store.Svc.SvcPids[i].ServiceId == s.ServiceId)
            return "Service ID " + std::to_string(s.ServiceId) + " is already used by " +
                   ServiceNameOf(store, i) + ".";
    if (ServicesOf(store) >= MaxServices) return "Limited 100 programs.";
    return std::nullopt;
}

} // namespace

std::string CaptureServiceName(const CaptureService& s) {
    std::string name = TrimBlanks(s.Name);
    if (name.empty()) name = "SID " + std::to_string(s.ServiceId);
    return TrimBlanks(name.substr(0, MaxNameLength));
}

CaptureImport ImportCaptureServices(ConfigStore& store, const Capture& capture, int input,
                                    const std::vector<int>& serviceIds) {
    CaptureImport result;
    const std::vector<std::string> before = ImageLimitViolations(store);
    for (const CaptureService& s : capture.Services) {
        if (!serviceIds.empty() &&
            std::find(serviceIds.begin(), serviceIds.end(), s.ServiceId) == serviceIds.end())
            continue;
        if (const auto refusal = Refusal(store, s)) {
            result.NotAdded.push_back(Named(s) + ": " + *refusal);
            continue;
        }
        // Stored into a copy first: the limits judge the store with it.
        auto trial = std::make_unique<ConfigStore>(store);
        const int slot = ServicesOf(*trial);
        OutputPids outputs(*trial);
        std::vector<std::string> left;
        StoreService(*trial, slot, s, input, outputs, left);
        trial->Svc.SvcCount = static_cast<int16_t>(slot + 1);
        std::optional<std::string> limit;
        if (InputPidCount(*trial, input) > PidsPerInput)
            limit = msg::PidLimitPerInput;
        else
            for (const std::string& violation : ImageLimitViolations(*trial))
                if (!limit && !std::count(before.begin(), before.end(), violation)) limit = violation;
        if (limit) {
            result.NotAdded.push_back(Named(s) + ": " + *limit);
            continue;
        }
        store = *trial;
        result.Added.push_back(CaptureServiceName(s));
        result.Left.insert(result.Left.end(), left.begin(), left.end());
    }
    return result;
}

} // namespace kv
