#pragma once
// One view of a service's streams: PCR, video, audio 1..4 and data 1..2, in
// the order the service editor lists its boxes and the image carries them.
// Every place that walks a service's streams walks this view.

#include <array>
#include <string>
#include <type_traits>

#include "model/config_store.h"

namespace kv {

enum class StreamKind { Pcr, Video, Audio, Data };

inline constexpr int StreamCount = 2 + AudioSlots + DataSlots;

// One stream of a service, by reference into its ServicePids (const or not).
// `Type` points at the stream's type field (VideoType, Audio[i].Type,
// Data[i].DataType); the PCR has none.
template <class Pid> struct StreamRefOf {
    StreamKind Kind;
    int Slot; // 0 for PCR and video, 0..3 for audio, 0..1 for data
    Pid& PidIn;
    Pid& PidOut;
    Pid* Type;
};
using StreamRef = StreamRefOf<int16_t>;
using ConstStreamRef = StreamRefOf<const int16_t>;

namespace detail {
template <class Pids, class Pid = std::conditional_t<std::is_const_v<Pids>, const int16_t, int16_t>>
std::array<StreamRefOf<Pid>, StreamCount> StreamsOfImpl(Pids& p) {
    return {{
        {StreamKind::Pcr, 0, p.PcrIn, p.PcrOut, nullptr},
        {StreamKind::Video, 0, p.VideoIn, p.VideoOut, &p.VideoType},
        {StreamKind::Audio, 0, p.Audio[0].PidIn, p.Audio[0].PidOut, &p.Audio[0].Type},
        {StreamKind::Audio, 1, p.Audio[1].PidIn, p.Audio[1].PidOut, &p.Audio[1].Type},
        {StreamKind::Audio, 2, p.Audio[2].PidIn, p.Audio[2].PidOut, &p.Audio[2].Type},
        {StreamKind::Audio, 3, p.Audio[3].PidIn, p.Audio[3].PidOut, &p.Audio[3].Type},
        {StreamKind::Data, 0, p.Data[0].PidIn, p.Data[0].PidOut, &p.Data[0].DataType},
        {StreamKind::Data, 1, p.Data[1].PidIn, p.Data[1].PidOut, &p.Data[1].DataType},
    }};
}
} // namespace detail

inline std::array<StreamRef, StreamCount> StreamsOf(ServicePids& p) {
    return detail::StreamsOfImpl(p);
}
inline std::array<ConstStreamRef, StreamCount> StreamsOf(const ServicePids& p) {
    return detail::StreamsOfImpl(p);
}

// The position of a stream in the view (0 PCR, 1 video, 2..5 audio, 6..7 data).
inline constexpr int StreamIndex(StreamKind kind, int slot) {
    switch (kind) {
    case StreamKind::Pcr:
        return 0;
    case StreamKind::Video:
        return 1;
    case StreamKind::Audio:
        return 2 + slot;
    case StreamKind::Data:
        return 2 + AudioSlots + slot;
    }
    return 0;
}

// "PCR", "video", "audio 2", "data 1": how messages and the multiplex map
// name a stream.
inline std::string StreamName(StreamKind kind, int slot) {
    switch (kind) {
    case StreamKind::Pcr:
        return "PCR";
    case StreamKind::Video:
        return "video";
    case StreamKind::Audio:
        return "audio " + std::to_string(slot + 1);
    case StreamKind::Data:
        return "data " + std::to_string(slot + 1);
    }
    return {};
}

// A stream is present when its output PID holds a stream. A PID outside the
// 13 bits (from a project file of an earlier version) carries nothing: the
// multiplex check reports it, and no image carries it.
template <class Pid> bool HasStream(const StreamRefOf<Pid>& s) {
    return s.PidOut != PidNone && PidInRange(s.PidOut) && PidInRange(s.PidIn);
}

} // namespace kv
