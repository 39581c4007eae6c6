#include "ops/service_entry.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "model/bounded_text.h"
#include "model/store_ops.h"
#include "ops/operator_messages.h"

namespace kv {
namespace {

constexpr int MaxServiceId = 65535;

bool Blank(std::string_view text) {
    return TrimBlanks(text).empty();
}

// The Service ID box: read as a decimal number in both radixes.
std::optional<int32_t> ServiceIdValue(std::string_view text) {
    return ScanLeadingNumber(text, Radix::Decimal);
}

bool BothFilled(const std::string& in, const std::string& out) {
    return !in.empty() && !out.empty();
}

template <class Entry,
          class Text = std::conditional_t<std::is_const_v<Entry>, const std::string, std::string>,
          class Index = std::conditional_t<std::is_const_v<Entry>, const int, int>>
std::array<EntryStreamOf<Text, Index>, StreamCount> EntryStreamsOf(Entry& e) {
    return {{
        {StreamKind::Pcr, 0, e.PcrIn, e.PcrOut, nullptr},
        {StreamKind::Video, 0, e.VideoIn, e.VideoOut, &e.VideoType},
        {StreamKind::Audio, 0, e.AudioIn[0], e.AudioOut[0], &e.AudioType[0]},
        {StreamKind::Audio, 1, e.AudioIn[1], e.AudioOut[1], &e.AudioType[1]},
        {StreamKind::Audio, 2, e.AudioIn[2], e.AudioOut[2], &e.AudioType[2]},
        {StreamKind::Audio, 3, e.AudioIn[3], e.AudioOut[3], &e.AudioType[3]},
        {StreamKind::Data, 0, e.DataIn[0], e.DataOut[0], nullptr},
        {StreamKind::Data, 1, e.DataIn[1], e.DataOut[1], nullptr},
    }};
}

} // namespace

std::array<EntryStream, StreamCount> EntryStreams(ServiceEntry& e) {
    return EntryStreamsOf(e);
}

std::array<ConstEntryStream, StreamCount> EntryStreams(const ServiceEntry& e) {
    return EntryStreamsOf(e);
}

void WriteNetName(ServiceBlock& sb, std::string_view boxText) {
    WriteName(sb.NetName, TrimBlanks(boxText), " ");
}

ServiceSlot FindServiceByName(const ServiceBlock& sb, std::string_view name, int rows,
                              std::optional<int> selectedRow) {
    rows = std::clamp(rows, 0, MaxServices);
    ServiceSlot slot;
    if (selectedRow && *selectedRow >= 0 && *selectedRow < rows) {
        slot.NewCount = rows;
        slot.Idx = *selectedRow;
    } else if (rows > 0) {
        slot.NewCount = rows + 1;
        slot.Idx = rows;
    }
    const std::string wanted = TrimBlanks(name);
    for (int s = 0; s < rows; ++s) {
        if (TrimBlanks(BoundedText(sb.SvcInfo[s].Name)) == wanted) {
            slot.Found = true;
            slot.Idx = s;
            slot.NewCount = rows;
            break;
        }
    }
    return slot;
}

bool ServiceIdInUse(const ServiceBlock& sb, std::string_view serviceIdText, int rows, bool rowSelected) {
    if (rowSelected) return false;
    const std::optional<int32_t> id = ServiceIdValue(serviceIdText);
    if (!id) return false;
    rows = std::clamp(rows, 0, MaxServices);
    for (int s = 0; s < rows; ++s)
        if (sb.SvcPids[s].ServiceId == *id) return true;
    return false;
}

const char* RefusalMessage(EntryRefusal refusal) {
    switch (refusal) {
    case EntryRefusal::None:
        return "";
    case EntryRefusal::FillPmtAndPcr:
        return "Fill PMT and PCR fields, please.";
    case EntryRefusal::ServiceIdRange:
        return "Service ID must be between 0 and 65535.";
    case EntryRefusal::ServiceIdInUse:
        return "Service ID number is in the list, change it please.";
    case EntryRefusal::NoOutputPid:
        return "Fill at least one field. Audio or Data (IN and OUT), please.";
    case EntryRefusal::NoStream:
        return "Fill at least one Audio field, please.";
    case EntryRefusal::VideoWithoutAudio:
        return "Fill at least one Audio field (IN and OUT), please.";
    case EntryRefusal::PidLimit:
        return msg::PidLimitPerInput;
    case EntryRefusal::ServiceLimit:
        return "Limited 100 programs.";
    }
    return "";
}

EntryCheck CheckServiceEntry(const ConfigStore& store, const ServiceEntry& e, int rows,
                             std::optional<int> selectedRow) {
    EntryCheck check;
    auto refuse = [&check](EntryRefusal why) {
        check.Refusal = why;
        return check;
    };

    // 1. The service ID, the PMT PID and at least one PCR PID (blanks count as empty).
    if (Blank(e.ServiceId) || Blank(e.PmtPid) || (Blank(e.PcrIn) && Blank(e.PcrOut)))
        return refuse(EntryRefusal::FillPmtAndPcr);

    // 2. A text without a number is no service ID either.
    const std::optional<int32_t> id = ServiceIdValue(e.ServiceId);
    if (!id || *id < 0 || *id > MaxServiceId) return refuse(EntryRefusal::ServiceIdRange);

    // 3.
    if (ServiceIdInUse(store.Svc, e.ServiceId, rows, selectedRow.has_value()))
        return refuse(EntryRefusal::ServiceIdInUse);

    const auto streams = EntryStreams(e);
    auto any = [&streams](auto&& holds) { return std::any_of(streams.begin(), streams.end(), holds); };
    auto elementary = [](const ConstEntryStream& s) {
        return s.Kind == StreamKind::Audio || s.Kind == StreamKind::Data;
    };

    // 4. Some output PID besides the PCR's at all (blanks count as empty).
    if (!any([](const ConstEntryStream& s) { return s.Kind != StreamKind::Pcr && !Blank(s.Out); }))
        return refuse(EntryRefusal::NoOutputPid);

    // 5. An audio or data stream with both PIDs (blanks count as filled from here on).
    if (!any([&](const ConstEntryStream& s) { return elementary(s) && BothFilled(s.In, s.Out); }))
        return refuse(EntryRefusal::NoStream);

    // 6. A video stream needs some audio box filled.
    const bool anyAudioBox = any([](const ConstEntryStream& s) {
        return s.Kind == StreamKind::Audio && (!s.In.empty() || !s.Out.empty());
    });
    if (BothFilled(e.VideoIn, e.VideoOut) && !anyAudioBox) return refuse(EntryRefusal::VideoWithoutAudio);

    // 7. The per-input limit, on what the store holds now; not tested when a
    //    selected row's service is changed under a new name.
    check.Slot = FindServiceByName(store.Svc, e.Name, rows, selectedRow);
    if ((!selectedRow || check.Slot.Found) && PidLimitReached(store, e.Input))
        return refuse(EntryRefusal::PidLimit);

    // There are 100 service slots; a new service beyond them is refused
    // before anything is stored.
    if (check.Slot.Idx >= MaxServices) return refuse(EntryRefusal::ServiceLimit);
    return check;
}

void StoreServiceEntry(ServiceBlock& sb, const ServiceEntry& e, Radix radix, const ServiceSlot& slot,
                       std::string_view netName) {
    const int i = slot.Idx;
    if (i < 0 || i >= MaxServices) return;

    sb.SvcInput[i] = static_cast<int16_t>(e.Input);
    sb.SvcCount = static_cast<int16_t>(std::clamp(slot.NewCount, 0, MaxServices));
    WriteNetName(sb, netName);

    ServiceInfo& info = sb.SvcInfo[i];
    const uint16_t serviceId = static_cast<uint16_t>(ServiceIdValue(e.ServiceId).value_or(0));
    info.ServiceId = serviceId;
    info.EitPresent = e.EitPresent ? 1 : 0;
    info.EitSchedule = e.EitSchedule ? 1 : 0;
    WriteName(info.Provider, BoundedText(sb.NetName), "");
    WriteName(info.Name, TrimBlanks(e.Name), "");

    ServicePids& p = sb.SvcPids[i];
    p.GenPmt = e.GenPmt ? 1 : 0;
    p.ServiceId = serviceId;
    p.PmtPid = PidFromText(e.PmtPid, radix);
    sb.SvcPmtPid[i] = p.PmtPid;
    p.PcrAdjust = e.PcrAdjust ? 1 : 0;

    // Every stream's PIDs, and the types of video and audio; the data
    // streams' types belong to the subtitle dialog.
    const auto from = EntryStreams(e);
    const auto to = StreamsOf(p);
    for (std::size_t k = 0; k < from.size(); ++k) {
        to[k].PidIn = PidFromText(from[k].In, radix);
        to[k].PidOut = PidFromText(from[k].Out, radix);
        if (from[k].Type && to[k].Type) *to[k].Type = static_cast<int16_t>(*from[k].Type);
    }
}

std::optional<int> FirstBadOutputPid(const ServiceEntry& e, Radix radix) {
    const auto streams = EntryStreams(e);
    for (std::size_t k = 0; k < streams.size(); ++k)
        if (PidExitWarns(streams[k].Out, radix)) return static_cast<int>(k);
    return std::nullopt;
}

std::optional<int> FirstBadInputPid(const ServiceEntry& e, Radix radix) {
    const auto streams = EntryStreams(e);
    for (std::size_t k = 0; k < streams.size(); ++k)
        if (!TrimBlanks(streams[k].In).empty() && PidFromText(streams[k].In, radix) == PidNone)
            return static_cast<int>(k);
    return std::nullopt;
}

std::optional<std::string> ReplaceQuestionFor(const ServiceBlock& sb, const ServiceEntry& e,
                                              const ServiceSlot& slot, std::optional<int> selectedRow) {
    if (slot.Found) return ReplaceQuestion;
    if (!selectedRow || slot.Idx != *selectedRow || slot.Idx < 0 || slot.Idx >= MaxServices)
        return std::nullopt;
    return "Replace the service of " + TrimBlanks(BoundedText(sb.SvcInfo[slot.Idx].Name)) + " with " +
           TrimBlanks(e.Name) + "?";
}

std::optional<int> SubtitleSlotFor(const ServiceBlock& sb, std::string_view name, int rows) {
    const ServiceSlot slot = FindServiceByName(sb, name, rows, std::nullopt);
    if (slot.Idx >= MaxServices) return std::nullopt;
    return slot.Idx;
}

} // namespace kv
