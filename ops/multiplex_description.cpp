#include "ops/multiplex_description.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "model/bounded_text.h"
#include "model/service_streams.h"
#include "ops/bit_rate_checks.h"
#include "ops/bit_rate_entry.h"
#include "ops/multiplex_check.h"
#include "tables/image_records.h"

namespace kv {
namespace {

using json = nlohmann::ordered_json;

constexpr std::array<const char*, 3> VideoTypeNames = {"mpeg2", "h264", "mpeg4"};
constexpr std::array<const char*, 5> AudioTypeNames = {"mpeg1", "mpeg2", "heaac", "aac", "ac3"};
constexpr std::array<const char*, 2> DataTypeNames = {"dvb", "scte"};
constexpr int LowestPid = 32;
constexpr int HighestPid = 8190;

// Store text is Latin-1; JSON text is UTF-8.
std::string Utf8OfLatin1(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// Empty when a character lies beyond Latin-1 (the parser has checked the UTF-8).
std::optional<std::string> Latin1OfUtf8(std::string_view text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto byte = static_cast<unsigned char>(text[k]);
        if (byte < 0x80) {
            out += text[k];
        } else if ((byte == 0xC2 || byte == 0xC3) && k + 1 < text.size()) {
            out += static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(text[++k]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    return Utf8OfLatin1(BoundedText(field));
}

// Into a store field, zero bytes after it as the editors leave them.
template <std::size_t N> void StoreText(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <std::size_t N> json TypeOf(int16_t code, const std::array<const char*, N>& names) {
    if (code >= 0 && static_cast<std::size_t>(code) < N) return names[static_cast<std::size_t>(code)];
    return code;
}

json PidsOf(const ConstStreamRef& s) {
    json stream = json::object();
    if (s.PidIn != PidNone) stream["in"] = s.PidIn;
    stream["out"] = s.PidOut;
    return stream;
}

// Positional slots: an absent stream between present ones is null.
json Slots(std::vector<json> slots) {
    while (!slots.empty() && slots.back().is_null()) slots.pop_back();
    return json(std::move(slots));
}

json DescribeService(const ConfigStore& s, int i) {
    const ServiceInfo& info = s.Svc.SvcInfo[i];
    const ServicePids& p = s.Svc.SvcPids[i];
    json service = {{"name", FieldText(info.Name)},
                    {"input", s.Svc.SvcInput[i]},
                    {"service_id", p.ServiceId},
                    {"pmt_pid", s.Svc.SvcPmtPid[i]},
                    {"generate_pmt", p.GenPmt != 0}};
    if (FieldText(info.Provider) != FieldText(s.Svc.NetName)) service["provider"] = FieldText(info.Provider);
    if (info.ServiceId != p.ServiceId) service["sdt_service_id"] = info.ServiceId;
    if (p.PmtPid != s.Svc.SvcPmtPid[i]) service["pmt_packet_pid"] = p.PmtPid;
    std::vector<json> audio(AudioSlots), data(DataSlots);
    for (const ConstStreamRef& st : StreamsOf(p)) {
        if (!HasStream(st)) continue;
        json stream = PidsOf(st);
        switch (st.Kind) {
        case StreamKind::Pcr:
            stream["adjust"] = p.PcrAdjust != 0;
            service["pcr"] = stream;
            break;
        case StreamKind::Video:
            stream["type"] = TypeOf(*st.Type, VideoTypeNames);
            service["video"] = stream;
            break;
        case StreamKind::Audio:
            stream["type"] = TypeOf(*st.Type, AudioTypeNames);
            audio[st.Slot] = stream;
            break;
        case StreamKind::Data: {
            const DataSlot& d = p.Data[st.Slot];
            stream["type"] = TypeOf(*st.Type, DataTypeNames);
            if (d.SubEnable != 0)
                stream["subtitles"] = {{"language", FieldText(d.SubLang)}, {"type", d.SubType}};
            data[st.Slot] = stream;
            break;
        }
        }
    }
    if (json slots = Slots(audio); !slots.empty()) service["audio"] = slots;
    if (json slots = Slots(data); !slots.empty()) service["data"] = slots;
    // The SDT carries the low bit of each flag.
    service["eit"] = {{"present_following", (info.EitPresent & 1) != 0},
                      {"schedule", (info.EitSchedule & 1) != 0}};
    return service;
}

// The mode whose table the store carries for its rate; with neither, the
// mode the window would show.
std::string ModeOf(const ConfigStore& s) {
    const bool byteMode = RateTableMode(s, ActiveBitRate(s)).value_or(ActiveRateStuff(s) != 0);
    return byteMode ? "byte" : "pack";
}

// Reads one description into a store, member by member, noting every
// refusal with its path.
class Composer {
  public:
    Composer(ConfigStore& store, std::vector<DescriptionRefusal>& refusals)
        : store_(store), refusals_(refusals) {}

    void Multiplex(const json& d) {
        if (!Object(d, "", {"network_name", "transport_stream_id", "bit_rate", "mode", "services", "ghosts"}))
            return;
        ServiceBlock& sb = store_.Svc;
        const std::string netName = Name(d, "", "network_name", false, sizeof sb.NetName - 1).value_or("");
        StoreText(sb.NetName, netName);
        sb.TsId = static_cast<uint16_t>(Integer(d, "", "transport_stream_id", 0, 65535).value_or(0));
        if (const json* services = Array(d, "", "services", MaxServices, "Limited 100 programs.")) {
            sb.SvcCount = static_cast<int16_t>(services->size());
            for (std::size_t i = 0; i < services->size(); ++i)
                Service((*services)[i], "services[" + std::to_string(i) + "]", static_cast<int>(i), netName);
        }
        if (const json* ghosts = Array(d, "", "ghosts", MaxGhosts, "Limited 352 ghost PIDs.")) {
            store_.Ghost.GhostCount = static_cast<int16_t>(ghosts->size());
            for (std::size_t j = 0; j < ghosts->size(); ++j)
                Ghost((*ghosts)[j], "ghosts[" + std::to_string(j) + "]", static_cast<int>(j));
        }
        Rate(d);
    }

  private:
    void Refuse(const std::string& path, std::string message, bool forcible = false) {
        refusals_.push_back({path, std::move(message), forcible});
    }

    static std::string At(const std::string& path, const std::string& key) {
        return path.empty() ? key : path + "." + key;
    }

    bool Object(const json& value, const std::string& path, std::initializer_list<const char*> keys) {
        if (!value.is_object()) {
            Refuse(path, "is not an object");
            return false;
        }
        for (const auto& item : value.items()) {
            const std::string& key = item.key();
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
                Refuse(At(path, key), "is not a member of the description");
        }
        return true;
    }

    std::optional<int64_t> Integer(const json& object, const std::string& path, const char* key, int64_t min,
                                   int64_t max, bool required = false) {
        const auto member = object.find(key);
        if (member == object.end()) {
            if (required) Refuse(At(path, key), "is missing");
            return std::nullopt;
        }
        if (!member->is_number_integer()) {
            Refuse(At(path, key), member->dump() + " is not a whole number");
            return std::nullopt;
        }
        const int64_t value = Signed(*member);
        if (value < min || value > max) {
            Refuse(At(path, key), std::to_string(value) + " is out of range " + std::to_string(min) + ".." +
                                      std::to_string(max));
            return std::nullopt;
        }
        return value;
    }

    // A PID of a stream, a PMT or a ghost. The editors take 32..8190 for
    // output and PMT PIDs (`anyPid`: 0..8190, input and ghost PIDs); a
    // project file may hold anything up to 8191, which means no stream.
    int16_t Pid(const json& object, const std::string& path, const char* key, bool required,
                bool anyPid = false) {
        const auto member = object.find(key);
        if (member == object.end()) {
            if (required) Refuse(At(path, key), "is missing");
            return PidNone;
        }
        const std::string where = At(path, key);
        const bool number = member->is_number_integer();
        const int64_t pid = number ? Signed(*member) : -1;
        const std::string notAPid = (number ? std::to_string(pid) : member->dump()) + " is not a PID (" +
                                    std::to_string(LowestPid) + ".." + std::to_string(HighestPid) + ")";
        // A project file holds any 16-bit value (one of an earlier version of
        // the tool may): forced, it is kept, and the check reports it.
        if (!number || pid < INT16_MIN || pid > INT16_MAX) {
            Refuse(where, notAPid);
            return PidNone;
        }
        if (!PidInRange(static_cast<int>(pid)) || pid == PidNone || (pid < LowestPid && !anyPid))
            Refuse(where, notAPid, true);
        return static_cast<int16_t>(pid);
    }

    // A whole number as a signed one; one beyond 64 signed bits reads as the largest.
    static int64_t Signed(const json& number) {
        if (number.is_number_unsigned() && number.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
            return INT64_MAX;
        return number.get<int64_t>();
    }

    int16_t Input(const json& object, const std::string& path) {
        // As a PID: any 16-bit value a project file may hold is kept when forced.
        const auto input = Integer(object, path, "input", INT16_MIN, INT16_MAX, true);
        if (input && (*input < 1 || *input > InputCount))
            Refuse(At(path, "input"), std::to_string(*input) + " is not an input (1..8)", true);
        return static_cast<int16_t>(input.value_or(1));
    }

    bool Flag(const json& object, const std::string& path, const char* key, bool fallback) {
        const auto member = object.find(key);
        if (member == object.end()) return fallback;
        if (!member->is_boolean()) {
            Refuse(At(path, key), member->dump() + " is not true or false");
            return fallback;
        }
        return member->get<bool>();
    }

    // A text of at most `maxLength` characters as the editors take it; up to
    // `fieldLength` (what the store's field holds) only with --force.
    std::optional<std::string> Text(const json& object, const std::string& path, const char* key,
                                    std::size_t maxLength, std::size_t fieldLength, bool required) {
        const auto member = object.find(key);
        if (member == object.end()) {
            if (required) Refuse(At(path, key), "is missing");
            return std::nullopt;
        }
        const std::string where = At(path, key);
        if (!member->is_string()) {
            Refuse(where, member->dump() + " is not a text");
            return std::nullopt;
        }
        const auto text = Latin1OfUtf8(member->get<std::string>());
        if (!text || text->find('\0') != std::string::npos) {
            Refuse(where, member->dump() + " holds a character the device cannot carry");
            return std::nullopt;
        }
        if (text->size() > maxLength) {
            const bool fits = text->size() <= fieldLength;
            Refuse(where, member->dump() + " is longer than " + std::to_string(maxLength) + " characters",
                   fits);
            if (!fits) return std::nullopt;
        }
        return text;
    }

    std::optional<std::string> Name(const json& object, const std::string& path, const char* key,
                                    bool required, std::size_t fieldLength = MaxNameLength) {
        return Text(object, path, key, MaxNameLength, fieldLength, required);
    }

    template <std::size_t N>
    int16_t Type(const json& object, const std::string& path, const std::array<const char*, N>& names) {
        const auto member = object.find("type");
        if (member == object.end()) return 0;
        if (member->is_number_integer()) {
            const int64_t code = member->get<int64_t>();
            if (code >= INT16_MIN && code <= INT16_MAX) return static_cast<int16_t>(code);
        } else if (member->is_string()) {
            for (std::size_t k = 0; k < N; ++k)
                if (member->get<std::string>() == names[k]) return static_cast<int16_t>(k);
        }
        std::string known;
        for (const char* name : names) known += std::string(known.empty() ? "" : ", ") + "\"" + name + "\"";
        Refuse(At(path, "type"), member->dump() + " is not a stream type (" + known + ")");
        return 0;
    }

    const json* Array(const json& object, const std::string& path, const char* key, std::size_t max,
                      const char* tooMany) {
        const auto member = object.find(key);
        if (member == object.end()) return nullptr;
        if (!member->is_array()) {
            Refuse(At(path, key), "is not a list");
            return nullptr;
        }
        if (member->size() > max) {
            Refuse(At(path, key), tooMany);
            return nullptr;
        }
        return &*member;
    }

    // The in and out PIDs of a stream, and its type when it has one.
    void Stream(const json& value, const std::string& path, StreamRef s, bool typed,
                std::initializer_list<const char*> keys) {
        if (!Object(value, path, keys)) return;
        s.PidIn = Pid(value, path, "in", false, true);
        s.PidOut = Pid(value, path, "out", true);
        if (typed && s.Type) {
            if (s.Kind == StreamKind::Video) *s.Type = Type(value, path, VideoTypeNames);
            if (s.Kind == StreamKind::Audio) *s.Type = Type(value, path, AudioTypeNames);
            if (s.Kind == StreamKind::Data) *s.Type = Type(value, path, DataTypeNames);
        }
    }

    void Subtitles(const json& stream, const std::string& path, DataSlot& d) {
        const auto member = stream.find("subtitles");
        if (member == stream.end()) return;
        const std::string where = path + ".subtitles";
        if (!Object(*member, where, {"language", "type"})) return;
        d.SubEnable = 1;
        StoreText(d.SubLang, Text(*member, where, "language", 3, 3, true).value_or(""));
        d.SubType = static_cast<int32_t>(Integer(*member, where, "type", INT32_MIN, INT32_MAX).value_or(0));
    }

    void Service(const json& value, const std::string& path, int i, const std::string& netName) {
        if (!Object(value, path,
                    {"name", "input", "service_id", "pmt_pid", "generate_pmt", "provider", "sdt_service_id",
                     "pmt_packet_pid", "pcr", "video", "audio", "data", "eit"}))
            return;
        ServiceBlock& sb = store_.Svc;
        ServiceInfo& info = sb.SvcInfo[i];
        ServicePids& p = sb.SvcPids[i];
        for (StreamRef s : StreamsOf(p)) s.PidIn = s.PidOut = PidNone;
        const auto name = Name(value, path, "name", true);
        if (name && name->empty()) Refuse(At(path, "name"), "is empty", true);
        StoreText(info.Name, name.value_or(""));
        StoreText(info.Provider,
                  Name(value, path, "provider", false).value_or(netName.substr(0, MaxNameLength)));
        sb.SvcInput[i] = Input(value, path);
        p.ServiceId = static_cast<uint16_t>(Integer(value, path, "service_id", 0, 65535, true).value_or(0));
        info.ServiceId =
            static_cast<uint16_t>(Integer(value, path, "sdt_service_id", 0, 65535).value_or(p.ServiceId));
        sb.SvcPmtPid[i] = Pid(value, path, "pmt_pid", true);
        p.PmtPid = value.contains("pmt_packet_pid") ? Pid(value, path, "pmt_packet_pid", true, true)
                                                    : sb.SvcPmtPid[i];
        p.GenPmt = Flag(value, path, "generate_pmt", true) ? 1 : 0;
        p.PcrAdjust = 1;
        auto streams = StreamsOf(p);
        if (const auto pcr = value.find("pcr"); pcr != value.end()) {
            Stream(*pcr, At(path, "pcr"), streams[0], false, {"in", "out", "adjust"});
            if (pcr->is_object()) p.PcrAdjust = Flag(*pcr, At(path, "pcr"), "adjust", true) ? 1 : 0;
        }
        if (const auto video = value.find("video"); video != value.end())
            Stream(*video, At(path, "video"), streams[1], true, {"in", "out", "type"});
        if (const json* audio = Array(value, path, "audio", AudioSlots, "holds more than 4 audio streams"))
            for (std::size_t k = 0; k < audio->size(); ++k)
                if (!(*audio)[k].is_null())
                    Stream((*audio)[k], At(path, "audio") + "[" + std::to_string(k) + "]",
                           streams[StreamIndex(StreamKind::Audio, static_cast<int>(k))], true,
                           {"in", "out", "type"});
        if (const json* data = Array(value, path, "data", DataSlots, "holds more than 2 data streams"))
            for (std::size_t k = 0; k < data->size(); ++k) {
                if ((*data)[k].is_null()) continue;
                const std::string where = At(path, "data") + "[" + std::to_string(k) + "]";
                Stream((*data)[k], where, streams[StreamIndex(StreamKind::Data, static_cast<int>(k))], true,
                       {"in", "out", "type", "subtitles"});
                if ((*data)[k].is_object()) Subtitles((*data)[k], where, p.Data[k]);
            }
        if (const auto eit = value.find("eit");
            eit != value.end() && Object(*eit, At(path, "eit"), {"present_following", "schedule"})) {
            info.EitPresent = Flag(*eit, At(path, "eit"), "present_following", false) ? 1 : 0;
            info.EitSchedule = Flag(*eit, At(path, "eit"), "schedule", false) ? 1 : 0;
        }
        CountPairs(sb.SvcInput[i],
                   static_cast<int>(std::count_if(streams.begin(), streams.end(),
                                                  [](const StreamRef& s) { return HasStream(s); })),
                   At(path, "input"));
    }

    void Ghost(const json& value, const std::string& path, int j) {
        if (!Object(value, path, {"input", "in", "out"})) return;
        GhostBlock& gb = store_.Ghost;
        gb.GhostInput[j] = Input(value, path);
        gb.GhostPidIn[j] = Pid(value, path, "in", true, true);
        gb.GhostPidOut[j] = Pid(value, path, "out", true, true);
        CountPairs(gb.GhostInput[j], 1, At(path, "input"));
    }

    // The 44 PID pairs an input carries, refused at the entry that passes them.
    void CountPairs(int input, int pairs, const std::string& path) {
        if (input < 1 || input > InputCount) return;
        int& count = pairs_[static_cast<std::size_t>(input - 1)];
        const bool within = count <= PidsPerInput;
        count += pairs;
        if (within && count > PidsPerInput)
            Refuse(path,
                   "Limited 44 Pid per IN. (input " + std::to_string(input) + " carries " +
                       std::to_string(count) + " PIDs)",
                   true);
    }

    // The bit-rate box's steps on the rate, in the mode given.
    void Rate(const json& d) {
        bool byteMode = true;
        if (const auto mode = d.find("mode"); mode != d.end()) {
            if (*mode == "pack")
                byteMode = false;
            else if (*mode != "byte")
                Refuse("mode", mode->dump() + " is not \"byte\" or \"pack\"");
        }
        const auto rate = Integer(d, "", "bit_rate", INT64_MIN, INT64_MAX);
        if (!rate || *rate == 0) return;
        const bool typeable = *rate > 0 && *rate <= INT32_MAX;
        const BitRateEntry entry =
            typeable ? ApplyBitRateEntry(store_, std::to_string(*rate), byteMode) : BitRateEntry{};
        if (entry.outcome != BitRateEntry::Outcome::Applied) {
            // Kept as the file's BitRate; no pacing table is made of it.
            Refuse("bit_rate", std::to_string(*rate) + ": " + BitRateRangeWarning(byteMode), true);
            store_.Svc.BitRate = store_.Ghost.GhostBitRate = *rate;
        }
    }

    ConfigStore& store_;
    std::vector<DescriptionRefusal>& refusals_;
    std::array<int, InputCount> pairs_{};
};

} // namespace

json DescribeMultiplex(const ConfigStore& store) {
    json services = json::array();
    for (int i = 0; i < std::clamp<int>(store.Svc.SvcCount, 0, MaxServices); ++i)
        services.push_back(DescribeService(store, i));
    json ghosts = json::array();
    const GhostBlock& gb = store.Ghost;
    for (int j = 0; j < std::clamp<int>(gb.GhostCount, 0, MaxGhosts); ++j)
        ghosts.push_back({{"input", gb.GhostInput[j]}, {"in", gb.GhostPidIn[j]}, {"out", gb.GhostPidOut[j]}});
    return {{"network_name", FieldText(store.Svc.NetName)},
            {"transport_stream_id", store.Svc.TsId},
            {"bit_rate", ActiveBitRate(store)},
            {"mode", ModeOf(store)},
            {"services", services},
            {"ghosts", ghosts}};
}

std::string DescriptionRefusal::Text() const {
    return Path.empty() ? Message : Path + ": " + Message;
}

ComposeResult ComposeMultiplex(const json& description, ConfigStore& store, ComposeForce force) {
    ComposeResult result;
    auto composed = std::make_unique<ConfigStore>();
    std::memset(composed.get(), 0, sizeof(ConfigStore));
    Composer(*composed, result.Refusals).Multiplex(description);
    const bool readable = std::all_of(result.Refusals.begin(), result.Refusals.end(),
                                      [](const DescriptionRefusal& r) { return r.Forcible; });
    if (readable) {
        const bool limitRefused = !result.Refusals.empty();
        for (const Finding& finding : CheckMultiplex(*composed).Findings)
            if (finding.severity == Severity::Error && !(limitRefused && finding.Code == "limit"))
                result.Refusals.push_back({"", "error " + finding.Code + ": " + finding.Message, true});
    }
    const bool rulesOnly = std::all_of(result.Refusals.begin(), result.Refusals.end(),
                                       [](const DescriptionRefusal& r) { return r.Path.empty(); });
    result.Taken = result.Refusals.empty() || (force == ComposeForce::All && readable) ||
                   (force == ComposeForce::CheckErrors && readable && rulesOnly);
    if (result.Taken) std::memcpy(&store, composed.get(), sizeof(ConfigStore));
    return result;
}

std::string DescriptionText(const ConfigStore& store) {
    return DescribeMultiplex(store).dump(2) + "\n";
}

ComposeResult ReadDescriptionFile(const std::string& path, ConfigStore& store, ComposeForce force) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {{{"", "Cannot open input file.", false}}};
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ComposeMultiplex(json::parse(text.str()), store, force);
    } catch (const json::parse_error& e) {
        return {{{"", std::string("is no JSON text: ") + e.what(), false}}};
    }
}

ProjectFileStatus WriteDescriptionFile(const std::string& path, const ConfigStore& store) {
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return ProjectFileStatus::CannotCreate;
    out << DescriptionText(store);
    out.close();
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return ProjectFileStatus::WriteFailed;
    }
    return ProjectFileStatus::Ok;
}

bool IsDescriptionPath(std::string_view path) {
    if (path.size() < 5) return false;
    std::string tail(path.substr(path.size() - 5));
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".json";
}

} // namespace kv
