#include "link/device_protocol.h"

#include <algorithm>
#include <array>
#include <utility>

#include "link/command_records.h"

namespace kv {

namespace {

constexpr int NoiseBytes = 300;  // more than a record, so a whole cut buffer is noise too
constexpr int CorruptByte = 100; // offset inside the record, clear of the two record-type bytes

} // namespace

std::optional<SimulatorFault> SimulatorFaultFromName(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, SimulatorFault>, 6> names{{
        {"none", SimulatorFault::None},
        {"silent", SimulatorFault::Silent},
        {"corrupt", SimulatorFault::Corrupt},
        {"garbage", SimulatorFault::Garbage},
        {"midcycle", SimulatorFault::Midcycle},
        {"hangup", SimulatorFault::Hangup},
    }};
    for (const auto& [text, fault] : names)
        if (text == name) return fault;
    return std::nullopt;
}

void DeviceProtocol::Preload(const std::vector<uint8_t>& image) {
    const std::size_t records = std::min<std::size_t>(image.size() / LineRecordSize, MaxImageRecords);
    image_.assign(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(records * LineRecordSize));
}

void DeviceProtocol::OnRecord(const uint8_t* record, Clock::time_point now) {
    if (IsLoadCommand(record)) {
        playing_ = false;
        loading_ = true;
        expectedLength_ = -1;
        image_.clear();
        lastLoadRecord_ = now;
    } else if (IsIdleCommand(record)) {
        if (loading_) FinishLoad();
        playing_ = false;
    } else if (IsReadCommand(record)) {
        if (loading_) FinishLoad();
        if (!playing_) StartPlayback();
    } else if (loading_) {
        lastLoadRecord_ = now;
        TakeLoadRecord(record);
    }
}

void DeviceProtocol::TakeLoadRecord(const uint8_t* record) {
    if (image_.empty() && IsHeaderRecord(record)) expectedLength_ = HeaderImageLength(record);
    if (image_.size() < static_cast<std::size_t>(MaxImageRecords) * LineRecordSize)
        image_.insert(image_.end(), record, record + LineRecordSize);
    if (expectedLength_ >= 0 && image_.size() >= static_cast<std::size_t>(expectedLength_)) FinishLoad();
}

void DeviceProtocol::OnQuiet(Clock::time_point now, std::chrono::milliseconds pause) {
    if (AwaitingPause() && now - lastLoadRecord_ >= pause) FinishLoad();
}

void DeviceProtocol::FinishLoad() {
    loading_ = false;
    ++loadsCompleted_;
}

void DeviceProtocol::StartPlayback() {
    if (fault_ == SimulatorFault::Silent || image_.empty()) return;
    playCopy_ = image_;
    if (fault_ == SimulatorFault::Corrupt) playCopy_[playCopy_.size() - LineRecordSize + CorruptByte] ^= 0xFF;
    const std::size_t records = playCopy_.size() / LineRecordSize;
    playOffset_ = fault_ == SimulatorFault::Midcycle ? (records / 2) * LineRecordSize : 0;
    noisePending_ = fault_ == SimulatorFault::Garbage;
    recordsPlayed_ = 0;
    playing_ = true;
}

std::vector<uint8_t> DeviceProtocol::NextOutput() {
    if (!playing_) return {};
    if (noisePending_) {
        noisePending_ = false;
        std::vector<uint8_t> noise(NoiseBytes);
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i % 2 ? 0x55 : 0x00);
        return noise;
    }
    const auto first = playCopy_.begin() + static_cast<std::ptrdiff_t>(playOffset_);
    std::vector<uint8_t> record(first, first + LineRecordSize);
    playOffset_ = (playOffset_ + LineRecordSize) % playCopy_.size();
    ++recordsPlayed_;
    return record;
}

} // namespace kv
