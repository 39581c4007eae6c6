#pragma once
// What a capture of an input carries: its services as the PAT, the PMTs and
// the SDT describe them, and every PID present with its packet count,
// scrambling and bit rate.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct CaptureStream {
    int Pid = 0;
    int StreamType = 0;           // stream_type of the PMT entry
    std::string Language;         // ISO_639_language_code, "" without one
    bool Ac3Descriptor = false;   // an AC-3 descriptor (0x6A) on the entry
    bool Subtitling = false;      // a subtitling descriptor on the entry
    std::string SubtitleLanguage; // of its first subtitle
    int SubtitlingType = 0;
};

struct CaptureService {
    int ServiceId = 0; // program_number
    int PmtPid = 0;
    bool PmtFound = false; // a complete PMT was read
    int PcrPid = 0x1FFF;
    std::string Name; // from the SDT; "" when the SDT does not describe it
    std::string Provider;
    bool EitPresent = false, EitSchedule = false;
    std::vector<CaptureStream> Streams; // in PMT order
    double BitRate = 0;                 // bit/s of its PMT, PCR and streams; 0 unknown
};

struct CapturePid {
    int Pid = 0;
    int64_t Packets = 0;
    int64_t Scrambled = 0; // packets with transport_scrambling_control set
    int64_t Pcrs = 0;      // packets carrying a PCR
    double BitRate = 0;    // bit/s over the capture; 0 unknown
};

enum class CaptureReading {
    Psi,  // stops as soon as the PAT, every PMT and the SDT are complete
    Pids, // the whole capture, for the PID statistics
};

struct Capture {
    int PacketSize = 188;  // 188, 192 (4-byte prefix) or 204 (16 bytes after)
    int64_t FirstSync = 0; // byte offset of the first packet's sync byte
    int64_t Packets = 0;   // packets read
    int64_t BytesRead = 0;
    bool WholeFile = false; // the PID statistics cover the whole capture
    std::optional<int> TsId;
    std::vector<CaptureService> Services; // in PAT order
    std::vector<CapturePid> Pids;         // every PID present, ascending
    double Duration = 0;                  // seconds measured by PCRs; 0 unknown
    double BitRate = 0;                   // of the whole capture; 0 unknown
    std::vector<std::string> Notes;       // table versions taken, tables missing
    std::vector<std::string> Damage;      // sync lost, truncated end: the capture is damaged
    std::string Refusal;                  // not a transport stream: nothing was read

    const CapturePid* Pid(int pid) const;
    const CaptureStream* StreamOn(int pid, int serviceId) const; // that service's first, else any
};

// Reads bytes on demand: up to `size` bytes into `into`, 0 at the end.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(uint8_t* into, std::size_t size) = 0;
};

Capture ReadCapture(ByteSource& source, CaptureReading reading);
Capture ReadCapture(const uint8_t* data, std::size_t size, CaptureReading reading);

// The capture in file `path`; none when it cannot be opened (`why` says why).
std::optional<Capture> ReadCaptureFile(const std::string& path, CaptureReading reading, std::string& why);

} // namespace kv
