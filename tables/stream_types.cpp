#include "tables/stream_types.h"

namespace kv {

uint8_t VideoStreamType(int16_t videoType) {
    switch (videoType) {
    case 1:
        return StreamH264Video;
    case 2:
        return StreamMpeg4Video;
    default:
        return StreamMpeg2Video;
    }
}

uint8_t AudioStreamType(int16_t audioType) {
    switch (audioType) {
    case 0:
        return StreamMpeg1Audio;
    case 2:
        return StreamHeAac;
    case 3:
        return StreamAac;
    case 4:
        return StreamAc3Audio;
    default:
        return StreamMpeg2Audio;
    }
}

uint8_t DataStreamType(int16_t dataType) {
    return dataType == 1 ? StreamScteData : StreamPrivateData;
}

std::optional<int16_t> VideoTypeOf(uint8_t streamType) {
    switch (streamType) {
    case StreamMpeg1Video:
    case StreamMpeg2Video:
        return 0;
    case StreamH264Video:
        return 1;
    case StreamMpeg4Video:
        return 2;
    default:
        return std::nullopt;
    }
}

std::optional<int16_t> AudioTypeOf(uint8_t streamType) {
    switch (streamType) {
    case StreamMpeg1Audio:
        return 0;
    case StreamMpeg2Audio:
        return 1;
    case StreamHeAac:
        return 2;
    case StreamAac:
        return 3;
    case StreamAc3Audio:
        return 4;
    default:
        return std::nullopt;
    }
}

std::optional<int16_t> DataTypeOf(uint8_t streamType) {
    switch (streamType) {
    case StreamPrivateData:
        return 0;
    case StreamScteData:
        return 1;
    default:
        return std::nullopt;
    }
}

} // namespace kv
