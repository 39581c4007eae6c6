#include "ops/stored_ranges.h"

#include <algorithm>

#include "model/service_streams.h"
#include "ops/output_pid_uses.h"

namespace kv {
namespace {

constexpr int LastGhostPid = PidNone - 1; // a ghost entry always carries a PID

std::string NotAPid(const std::string& where, const std::string& field, int value, int last) {
    return where + ": " + field + " " + std::to_string(value) + " is not a PID (0.." + std::to_string(last) +
           ").";
}

std::string NotAnInput(const std::string& where, int value) {
    return where + ": input " + std::to_string(value) + " is not an input (1.." + std::to_string(InputCount) +
           ").";
}

void CheckService(const ConfigStore& store, int i, std::vector<std::string>& found) {
    const std::string name = ServiceNameOf(store, i);
    const ServicePids& p = store.Svc.SvcPids[i];
    for (const int pmt : {static_cast<int>(store.Svc.SvcPmtPid[i]), static_cast<int>(p.PmtPid)})
        if (!PidInRange(pmt) || pmt == PidNone) {
            found.push_back(NotAPid(name, "PMT PID", pmt, LastGhostPid));
            break;
        }
    bool carriesStreams = false;
    for (const ConstStreamRef& s : StreamsOf(p)) {
        const std::string stream = StreamName(s.Kind, s.Slot);
        if (!PidInRange(s.PidOut)) found.push_back(NotAPid(name, stream + " out", s.PidOut, PidNone));
        if (!PidInRange(s.PidIn)) found.push_back(NotAPid(name, stream + " in", s.PidIn, PidNone));
        carriesStreams = carriesStreams || HasStream(s);
    }
    // A service without streams needs no input; one with streams is fed from 1..8.
    const int input = store.Svc.SvcInput[i];
    if (carriesStreams ? input < 1 || input > InputCount : input < 0 || input > InputCount)
        found.push_back(NotAnInput(name, input));
}

} // namespace

std::vector<std::string> OutOfRangeValues(const ConfigStore& store) {
    std::vector<std::string> found;
    for (int i = 0; i < ServicesOf(store); ++i) CheckService(store, i, found);
    const GhostBlock& gb = store.Ghost;
    for (int j = 0; j < std::clamp<int>(gb.GhostCount, 0, MaxGhosts); ++j) {
        const std::string row = "Ghost row " + std::to_string(j + 1);
        if (gb.GhostInput[j] < 1 || gb.GhostInput[j] > InputCount)
            found.push_back(NotAnInput(row, gb.GhostInput[j]));
        if (gb.GhostPidIn[j] < 0 || gb.GhostPidIn[j] > LastGhostPid)
            found.push_back(NotAPid(row, "PID IN", gb.GhostPidIn[j], LastGhostPid));
        if (gb.GhostPidOut[j] < 0 || gb.GhostPidOut[j] > LastGhostPid)
            found.push_back(NotAPid(row, "PID OUT", gb.GhostPidOut[j], LastGhostPid));
    }
    return found;
}

} // namespace kv
