#include "ops/capture_check.h"

#include <algorithm>
#include <cstdio>

#include "capture/capture_streams.h"
#include "model/service_streams.h"
#include "ops/output_pid_uses.h"
#include "tables/stream_types.h"

namespace kv {
namespace {

const InputCapture* CaptureOf(const std::vector<InputCapture>& captures, int input) {
    for (const InputCapture& c : captures)
        if (c.Input == input && c.Taken) return &c;
    return nullptr;
}

std::string TypeText(int streamType) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(streamType & 0xFF));
    return text;
}

// The stream_type the store gives a stream of `kind`.
int EnteredType(StreamKind kind, int16_t type) {
    if (kind == StreamKind::Video) return VideoStreamType(type);
    if (kind == StreamKind::Audio) return AudioStreamType(type);
    return DataStreamType(type);
}

// AC-3 goes as stream type 0x81 or as private data with an AC-3 descriptor.
bool SameType(int entered, const CaptureStream& carried) {
    if (entered == carried.StreamType) return true;
    return entered == StreamAc3Audio && carried.StreamType == StreamPrivateData && carried.Ac3Descriptor;
}

class InputCheck {
  public:
    InputCheck(MultiplexReport& report, const InputCapture& capture) : report_(report), capture_(capture) {}

    // `what`: "video of SPORT". False when the capture lacks the PID.
    bool Present(int pid, const std::string& what) {
        const CapturePid* carried = capture_.Taken->Pid(pid);
        if (!carried) {
            Add(Severity::Error, "input-missing", pid, what + ", is not in " + capture_.Name + ".");
            return false;
        }
        if (carried->Scrambled > 0)
            Add(Severity::Warning, "input-scrambled", pid,
                what + ", is scrambled in " + capture_.Name + " (" + std::to_string(carried->Scrambled) +
                    " of " + std::to_string(carried->Packets) + " packets).");
        return true;
    }

    void Type(int pid, int serviceId, int entered, const std::string& what) {
        const CaptureStream* carried = capture_.Taken->StreamOn(pid, serviceId);
        if (!carried || SameType(entered, *carried)) return;
        Add(Severity::Warning, "input-type", pid,
            what + ", is entered as stream type " + TypeText(entered) + "; " + capture_.Name +
                " carries stream type " + TypeText(carried->StreamType) + " (" + StreamDescription(*carried) +
                ").");
    }

    void Pcr(int pid, const std::string& what) {
        const CapturePid* carried = capture_.Taken->Pid(pid);
        if (carried && carried->Pcrs == 0)
            Add(Severity::Warning, "input-pcr", pid, what + ", carries no PCR in " + capture_.Name + ".");
    }

    // "IN 2 PID 80 (0x0050)"
    std::string Where(int pid) const {
        return "IN " + std::to_string(capture_.Input) + " PID " + PidText(pid);
    }

  private:
    void Add(Severity severity, const char* code, int pid, std::string message) {
        report_.Findings.push_back({severity, code, Where(pid) + ", " + std::move(message), {pid}});
    }
    MultiplexReport& report_;
    const InputCapture& capture_;
};

bool InputPid(int pid) {
    return pid >= 0 && pid < PidNone;
}

void CheckService(InputCheck& check, const ConfigStore& store, int i) {
    const ServicePids& p = store.Svc.SvcPids[i];
    const std::string name = ServiceNameOf(store, i);
    const auto streams = StreamsOf(p);
    for (const ConstStreamRef& s : streams) {
        if (!InputPid(s.PidIn)) continue;
        const std::string what = StreamName(s.Kind, s.Slot) + " of " + name;
        // A PCR riding on a stream of the service is looked at as that stream.
        const bool pcrOnStream = s.Kind == StreamKind::Pcr &&
                                 std::any_of(streams.begin() + 1, streams.end(),
                                             [&](const ConstStreamRef& o) { return o.PidIn == s.PidIn; });
        if (!pcrOnStream && !check.Present(s.PidIn, what)) continue;
        if (s.Kind == StreamKind::Pcr)
            check.Pcr(s.PidIn, what);
        else if (s.Type)
            check.Type(s.PidIn, p.ServiceId, EnteredType(s.Kind, *s.Type), what);
    }
}

} // namespace

void CheckAgainstCaptures(MultiplexReport& report, const ConfigStore& store,
                          const std::vector<InputCapture>& captures) {
    for (int i = 0; i < ServicesOf(store); ++i)
        if (const InputCapture* capture = CaptureOf(captures, store.Svc.SvcInput[i])) {
            InputCheck check(report, *capture);
            CheckService(check, store, i);
        }
    const int ghosts = std::clamp<int>(store.Ghost.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < ghosts; ++j)
        if (const InputCapture* capture = CaptureOf(captures, store.Ghost.GhostInput[j]);
            capture && InputPid(store.Ghost.GhostPidIn[j])) {
            InputCheck check(report, *capture);
            check.Present(store.Ghost.GhostPidIn[j],
                          "ghost to output PID " + PidText(store.Ghost.GhostPidOut[j]));
        }
    std::stable_partition(report.Findings.begin(), report.Findings.end(),
                          [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace kv
