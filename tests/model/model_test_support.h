#pragma once
// Helpers of the model tests: a private scratch folder, file bytes, and a
// small description with three services and two ghost entries.

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/config_store.h"

namespace kv::test {

// A folder of its own under the system temp folder, removed with its contents.
class TempFolder {
  public:
    TempFolder() {
#ifdef _WIN32
        // No mkdtemp: a random name, taken only when the folder was not there.
        std::random_device random;
        for (int attempt = 0; path_.empty(); ++attempt) {
            if (attempt == 100) throw std::runtime_error("cannot make a scratch folder");
            const auto candidate =
                std::filesystem::temp_directory_path() / ("kv-model-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) path_ = candidate;
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "kv-model-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
#endif
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const {
        return (path_ / name).string();
    }

  private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a packed record (the store or any of its parts).
template <typename Record> std::vector<uint8_t> BytesOf(const Record& record) {
    const auto* p = reinterpret_cast<const uint8_t*>(&record);
    return {p, p + sizeof record};
}

template <std::size_t N> void SetText(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    std::memcpy(field, text, std::min(std::strlen(text), N - 1));
}

// Three services on inputs 1..3 and two ghost entries on inputs 5 and 6;
// every value is derived from its slot so a mix-up shows.
inline std::unique_ptr<ConfigStore> SampleStore() {
    auto store = std::make_unique<ConfigStore>();
    ServiceBlock& sb = store->Svc;
    sb.SvcCount = 3;
    sb.TsId = 4660;
    SetText(sb.NetName, "NET ONE");
    for (int k = 0; k < RateSlots; ++k) sb.RateGaps[k] = static_cast<int16_t>(100 + k);
    sb.RateStuff = 7;
    sb.BitRate = 27000000;
    for (int i = 0; i < 3; ++i) {
        sb.SvcInput[i] = static_cast<int16_t>(i + 1);
        sb.SvcPmtPid[i] = static_cast<int16_t>(256 + i);
        ServiceInfo& info = sb.SvcInfo[i];
        info.ServiceId = static_cast<uint16_t>(1000 + i);
        info.EitPresent = static_cast<uint8_t>(i % 2);
        info.EitSchedule = static_cast<uint8_t>(1 - i % 2);
        SetText(info.Name, ("Prog " + std::to_string(i)).c_str());
        SetText(info.Provider, "NET ONE");
        ServicePids& p = sb.SvcPids[i];
        p.PmtPid = static_cast<int16_t>(256 + i);
        p.ServiceId = static_cast<uint16_t>(2000 + i); // differs from info on purpose
        p.PcrIn = static_cast<int16_t>(300 + i);
        p.PcrOut = static_cast<int16_t>(310 + i);
        for (int a = 0; a < AudioSlots; ++a) {
            p.Audio[a].Type = static_cast<int16_t>(a);
            p.Audio[a].PidIn = static_cast<int16_t>(400 + 10 * i + a);
            p.Audio[a].PidOut = static_cast<int16_t>(500 + 10 * i + a);
            p.Audio[a].Taken = 1;
        }
        p.VideoIn = static_cast<int16_t>(600 + i);
        p.VideoOut = static_cast<int16_t>(700 + i);
        p.VideoType = static_cast<int16_t>(i);
        for (int d = 0; d < DataSlots; ++d) {
            p.Data[d].DataType = static_cast<int16_t>(d);
            p.Data[d].PidIn = static_cast<int16_t>(800 + 10 * i + d);
            p.Data[d].PidOut = static_cast<int16_t>(900 + 10 * i + d);
            p.Data[d].SubEnable = static_cast<uint8_t>(d == 0);
            SetText(p.Data[d].SubLang, d == 0 ? "por" : "eng");
            p.Data[d].SubType = 0x10 + d;
        }
        p.PcrAdjust = 1;
        p.GenPmt = static_cast<uint8_t>(i != 1);
    }
    GhostBlock& gb = store->Ghost;
    gb.GhostCount = 2;
    for (int j = 0; j < 2; ++j) {
        gb.GhostInput[j] = static_cast<int16_t>(5 + j);
        gb.GhostPidIn[j] = static_cast<int16_t>(1000 + j);
        gb.GhostPidOut[j] = static_cast<int16_t>(2000 + j);
    }
    for (int k = 0; k < RateSlots; ++k) gb.GhostRateGaps[k] = static_cast<int16_t>(200 + k);
    gb.GhostRateStuff = 9;
    gb.GhostBitRate = 26000000;
    return store;
}

} // namespace kv::test
