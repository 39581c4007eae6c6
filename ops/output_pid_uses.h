#pragma once
// Every use of an output PID a configuration makes: the tables the tool
// generates (PAT, NIT, SDT, each service's PMT when "Generate PMT" is set),
// every present stream of every service and every ghost entry. The multiplex
// check and the editors' refusals both judge these uses.

#include <string>
#include <vector>

#include "model/config_store.h"
#include "model/service_streams.h"
#include "tables/ts_packet.h"

namespace kv {

inline constexpr int LastReservedPid = 0x001F; // 0x0001..0x001F belong to other tables

struct PidUse {
    enum class What { Table, Pmt, Stream, Ghost };
    What what = What::Table;
    int Pid = 0;
    int Slot = -1; // service slot (PMT, stream) or ghost index; -1 for PAT, NIT, SDT
    StreamKind Kind = StreamKind::Pcr;
    int StreamSlot = 0;
    int Input = 0; // 1..8 for a stream or ghost entry
    int InputPid = -1;
    std::string Carries; // "PAT", "PMT of NEWS", "video of NEWS", "ghost"

    bool Generated() const { return what == What::Table || what == What::Pmt; }
};

// A service's name as stored: the bytes up to the first NUL, blanks around it removed.
std::string ServiceNameOf(const ConfigStore& store, int slot);

// The services a configuration holds (SvcCount, bounded by the service slots).
int ServicesOf(const ConfigStore& store);

// Every use, generated tables first, then services in store order (PMT, then
// the streams in the order of StreamsOf), then the ghost entries.
std::vector<PidUse> OutputPidUses(const ConfigStore& store);

// Two different uses of one output PID that cannot share it: anything beside a
// generated table, or two streams or ghost entries of different sources
// (input, input PID). One source under several services shares its PID.
bool UsesClash(const PidUse& a, const PidUse& b);

// "512 (0x0200)"
std::string PidText(int pid);
// "video of NEWS (IN 1, PID 256)"; a generated table as "the SDT", "the PMT of NEWS".
std::string UseText(const PidUse& use);

} // namespace kv
