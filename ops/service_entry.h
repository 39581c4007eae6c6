#pragma once
// One service as the operator enters it in the service editor: the texts of
// its boxes and the states of its choices, the checks "Ok" makes before it
// stores the service, and the storing itself.

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "model/config_store.h"
#include "model/pid_text.h"
#include "model/service_streams.h"

namespace kv {

// Copies `text` (cut to 10 characters) and its NUL into `field`, whose first
// 10 bytes were set to `fill` first, so a shorter text is followed by zero
// bytes up to the tenth byte; the SDT and NIT copy these names as 10 bytes.
template <std::size_t N> void WriteName(char (&field)[N], std::string_view text, const char* fill) {
    static_assert(N > MaxNameLength);
    std::memset(field, 0, MaxNameLength);
    std::memcpy(field, fill, std::strlen(fill));
    const std::size_t length = std::min<std::size_t>(text.size(), MaxNameLength);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// The network-name box's text into NetName: trimmed of leading and trailing
// blanks, at most 10 characters. Ok, "Send Mux" and Save take it so.
void WriteNetName(ServiceBlock& sb, std::string_view boxText);

struct ServiceEntry {
    std::string Name;      // the chosen program name
    int Input = 1;         // ASI input 1..8
    std::string ServiceId; // read as a decimal number in both radixes
    std::string PmtPid;
    std::string PcrIn, PcrOut;
    std::string VideoIn, VideoOut;
    std::array<std::string, AudioSlots> AudioIn, AudioOut;
    std::array<std::string, DataSlots> DataIn, DataOut;
    int VideoType = 0;                       // item index of the video type list
    std::array<int, AudioSlots> AudioType{}; // item indexes of the audio type lists
    bool PcrAdjust = true;
    bool GenPmt = true;
    bool EitPresent = false;
    bool EitSchedule = false;
};

// One stream of an entry, by reference into its texts, in the order of
// StreamsOf: the In and Out boxes' texts and, for video and audio, the item
// index of the type list (PCR and data have none).
template <class Text, class Index> struct EntryStreamOf {
    StreamKind Kind;
    int Slot;
    Text& In;
    Text& Out;
    Index* Type;
};
using EntryStream = EntryStreamOf<std::string, int>;
using ConstEntryStream = EntryStreamOf<const std::string, const int>;

std::array<EntryStream, StreamCount> EntryStreams(ServiceEntry& e);
std::array<ConstEntryStream, StreamCount> EntryStreams(const ServiceEntry& e);

// Where "Ok" puts a service: slot `Idx`, SvcCount `NewCount` afterwards,
// `Found` when the name is already stored (in slot Idx).
struct ServiceSlot {
    bool Found = false;
    int Idx = 0;
    int NewCount = 1;
};

// `rows` is the number of stored services (the table's rows); `selectedRow`
// the selected row, if any. A stored name (compared trimmed, case counts)
// gives its own slot; otherwise the selected row's slot, or a new slot at
// the end.
ServiceSlot FindServiceByName(const ServiceBlock& sb, std::string_view name, int rows,
                              std::optional<int> selectedRow);

// With no row selected: whether the Service ID text, read as a decimal
// number, equals the service ID of a stored service. With a row selected:
// false.
bool ServiceIdInUse(const ServiceBlock& sb, std::string_view serviceIdText, int rows, bool rowSelected);

// The refusals of "Ok", in the order it tests them.
enum class EntryRefusal {
    None,
    FillPmtAndPcr,     // "Fill PMT and PCR fields, please."
    ServiceIdRange,    // "Service ID must be between 0 and 65535."
    ServiceIdInUse,    // "Service ID number is in the list, change it please."
    NoOutputPid,       // "Fill at least one field. Audio or Data (IN and OUT), please."
    NoStream,          // "Fill at least one Audio field, please."
    VideoWithoutAudio, // "Fill at least one Audio field (IN and OUT), please."
    PidLimit,          // "Limited 44 Pid per IN."
    ServiceLimit,      // "Limited 100 programs."
};

const char* RefusalMessage(EntryRefusal refusal);

inline constexpr const char* ReplaceQuestion = "This program is in the list, Do you wish change it?";
inline constexpr const char* PmtIncorrectMessage = "Value PID PMT is incorrect!";

// The output boxes, whose exit check warns about a bad PID, in the order Ok
// looks at them: the streams' order, PCR, video, audio 1 to 4, data 1 and 2.
inline constexpr int OutputBoxCount = StreamCount;

// The position in the streams' order of the first filled output box whose
// text its exit check would warn about (its PID would be stored as absent);
// none when every box is empty or good.
std::optional<int> FirstBadOutputPid(const ServiceEntry& entry, Radix radix);

// The position of the first filled input box whose text would be stored as
// absent (no number, or outside the PIDs an input box takes): its stream
// would vanish from the maps. The input boxes have no exit check; Ok refuses
// such a box with the output boxes' warning.
std::optional<int> FirstBadInputPid(const ServiceEntry& entry, Radix radix);

// The question Ok asks before it overwrites a stored service: the stored
// name's own service, or, for a new name while a row is selected, the
// selected row's service ("Replace the service of L2 with NEW2?"). None when
// Ok appends a new service.
std::optional<std::string> ReplaceQuestionFor(const ServiceBlock& sb, const ServiceEntry& entry,
                                              const ServiceSlot& slot, std::optional<int> selectedRow);

struct EntryCheck {
    EntryRefusal Refusal = EntryRefusal::None;
    ServiceSlot Slot; // valid from the PID limit check on
};

// The checks of "Ok" up to the question whether a stored service is to be
// replaced: the seven steps in their order, then the 101st service. The PID
// limit counts what the store holds now.
EntryCheck CheckServiceEntry(const ConfigStore& store, const ServiceEntry& entry, int rows,
                             std::optional<int> selectedRow);

// Stores the entry into slot `slot.Idx` (the last step of "Ok", after the PMT
// PID has been found valid): input, SvcCount, NetName (trimmed, at most 10
// characters; also the slot's Provider), name, service ID, flags, types and
// every PID by PidFromText. Fields "Ok" does not own (Taken, the subtitle
// settings) keep their values. A slot outside the 100 service slots is not
// written.
void StoreServiceEntry(ServiceBlock& sb, const ServiceEntry& entry, Radix radix, const ServiceSlot& slot,
                       std::string_view netName);

// The slot whose data streams the subtitle buttons edit: the stored service
// of that name, or for a new name the slot "Ok" would append it to; none
// beyond the 100 service slots.
std::optional<int> SubtitleSlotFor(const ServiceBlock& sb, std::string_view name, int rows);

} // namespace kv
