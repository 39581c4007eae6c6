#pragma once
// stream_type of the PMT entries and the store's type codes behind them.

#include <cstdint>
#include <optional>

namespace kv {

inline constexpr uint8_t StreamMpeg1Video = 0x01;
inline constexpr uint8_t StreamMpeg2Video = 0x02;
inline constexpr uint8_t StreamMpeg1Audio = 0x03;
inline constexpr uint8_t StreamMpeg2Audio = 0x04;
inline constexpr uint8_t StreamPrivateData = 0x06; // DVB-S / ETS data, DVB subtitles
inline constexpr uint8_t StreamAac = 0x0F;
inline constexpr uint8_t StreamHeAac = 0x11;
inline constexpr uint8_t StreamMpeg4Video = 0x1A;
inline constexpr uint8_t StreamH264Video = 0x1B;
inline constexpr uint8_t StreamAc3Audio = 0x81;
inline constexpr uint8_t StreamScteData = 0x82; // DVB-C / SCTE data

// VideoType 0 "MPEG2", 1 "H.264", 2 "MPEG4"; anything else goes as MPEG-2.
uint8_t VideoStreamType(int16_t videoType);
// Audio Type 0 "MPEG1", 1 "MPEG2", 2 "HEAAC", 3 "AAC", 4 "AC3"; anything else as MPEG-2.
uint8_t AudioStreamType(int16_t audioType);
// DataType 1 "DVB-C / SCTE"; anything else DVB-S / ETS.
uint8_t DataStreamType(int16_t dataType);

// The inverse, for a stream_type read back; empty when it is not of that kind.
std::optional<int16_t> VideoTypeOf(uint8_t streamType);
std::optional<int16_t> AudioTypeOf(uint8_t streamType);
std::optional<int16_t> DataTypeOf(uint8_t streamType);

} // namespace kv
