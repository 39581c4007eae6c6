// A capture of an input comes from anywhere: a capture card, a recorder, a
// probe, a broken copy. Input: one byte that picks the reading (tables only
// or the whole capture), then the capture's bytes. Every reading must end
// with figures that add up.
#include <cstdint>
#include <string>

#include "capture/capture.h"
#include "fuzz/fuzz_checks.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const CaptureReading reading = data[0] & 1 ? CaptureReading::Pids : CaptureReading::Psi;
    const Capture capture = ReadCapture(data + 1, size - 1, reading);

    fuzz::Require(capture.BytesRead <= static_cast<int64_t>(size - 1), "read more bytes than given");
    if (!capture.Refusal.empty()) {
        fuzz::Require(capture.Packets == 0 && capture.Pids.empty() && capture.Services.empty(),
                      "a refused capture lists nothing");
        return 0;
    }
    fuzz::Require(capture.PacketSize == 188 || capture.PacketSize == 192 || capture.PacketSize == 204,
                  "packet size 188, 192 or 204");
    int64_t packets = 0;
    int previous = -1;
    for (const CapturePid& p : capture.Pids) {
        fuzz::Require(p.Pid > previous && p.Pid < 8192, "PIDs ascending, 13 bits");
        fuzz::Require(p.Packets > 0 && p.Scrambled <= p.Packets && p.Pcrs <= p.Packets,
                      "counts within packets");
        fuzz::Require(p.BitRate >= 0, "bit rate not negative");
        previous = p.Pid;
        packets += p.Packets;
    }
    fuzz::Require(packets == capture.Packets, "the PIDs' packets add up to the capture's");
    fuzz::Require(capture.Packets * 188 <= capture.BytesRead, "no more packets than bytes");
    for (const CaptureService& s : capture.Services) {
        fuzz::Require(s.PmtPid >= 0 && s.PmtPid < 8192 && s.PcrPid >= 0 && s.PcrPid < 8192,
                      "service PIDs, 13 bits");
        for (const CaptureStream& e : s.Streams)
            fuzz::Require(e.Pid >= 0 && e.Pid < 8192 && e.Language.size() <= 3, "stream PID and language");
    }
    return 0;
}
