#include "cli/store_json.h"

#include <algorithm>
#include <cstring>

#include "model/service_streams.h"

namespace kv::cli {
namespace {

using nlohmann::json;

// A string field up to its NUL, never past the field.
template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, length);
}

template <typename T, std::size_t N> json Array(const T (&values)[N]) {
    return json(std::vector<T>(values, values + N));
}

json AudioToJson(const AudioSlot& a) {
    return {{"Type", a.Type}, {"PidIn", a.PidIn}, {"PidOut", a.PidOut}};
}

json DataToJson(const DataSlot& d) {
    return {{"DataType", d.DataType},
            {"PidIn", d.PidIn},
            {"PidOut", d.PidOut},
            {"SubEnable", d.SubEnable},
            {"SubLang", FieldText(d.SubLang)},
            {"SubType", d.SubType}};
}

json ServiceToJson(const ServiceBlock& sb, int i) {
    const ServiceInfo& info = sb.SvcInfo[i];
    const ServicePids& p = sb.SvcPids[i];
    json audio = json::array();
    json data = json::array();
    for (const ConstStreamRef& s : StreamsOf(p)) {
        if (s.Kind == StreamKind::Audio) audio.push_back(AudioToJson(p.Audio[s.Slot]));
        if (s.Kind == StreamKind::Data) data.push_back(DataToJson(p.Data[s.Slot]));
    }
    return {{"SvcInput", sb.SvcInput[i]},
            {"SvcPmtPid", sb.SvcPmtPid[i]},
            {"ServiceId", info.ServiceId},
            {"EitPresent", info.EitPresent},
            {"EitSchedule", info.EitSchedule},
            {"Name", FieldText(info.Name)},
            {"Provider", FieldText(info.Provider)},
            {"PmtPid", p.PmtPid},
            {"PidsServiceId", p.ServiceId},
            {"PcrIn", p.PcrIn},
            {"PcrOut", p.PcrOut},
            {"Audio", audio},
            {"VideoIn", p.VideoIn},
            {"VideoOut", p.VideoOut},
            {"VideoType", p.VideoType},
            {"Data", data},
            {"PcrAdjust", p.PcrAdjust},
            {"GenPmt", p.GenPmt}};
}

json GhostToJson(const GhostBlock& gb, int j) {
    return {{"GhostInput", gb.GhostInput[j]},
            {"GhostPidIn", gb.GhostPidIn[j]},
            {"GhostPidOut", gb.GhostPidOut[j]}};
}

} // namespace

json StoreToJson(const ConfigStore& store) {
    const ServiceBlock& sb = store.Svc;
    const GhostBlock& gb = store.Ghost;
    json services = json::array();
    const int serviceCount = std::clamp<int>(sb.SvcCount, 0, MaxServices);
    for (int i = 0; i < serviceCount; ++i) services.push_back(ServiceToJson(sb, i));
    json ghosts = json::array();
    const int ghostCount = std::clamp<int>(gb.GhostCount, 0, MaxGhosts);
    for (int j = 0; j < ghostCount; ++j) ghosts.push_back(GhostToJson(gb, j));

    return {{"SvcCount", sb.SvcCount},
            {"TsId", sb.TsId},
            {"NetName", FieldText(sb.NetName)},
            {"RateGaps", Array(sb.RateGaps)},
            {"RateStuff", sb.RateStuff},
            {"BitRate", sb.BitRate},
            {"GhostCount", gb.GhostCount},
            {"GhostRateGaps", Array(gb.GhostRateGaps)},
            {"GhostRateStuff", gb.GhostRateStuff},
            {"GhostBitRate", gb.GhostBitRate},
            {"services", services},
            {"ghosts", ghosts}};
}

std::string JsonText(const nlohmann::json& json) {
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace kv::cli
