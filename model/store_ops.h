#pragma once
// The three operations on the store that the editors, the program list and
// the device read-back share.

#include "model/config_store.h"

namespace kv {

// Slots 0..n-1: input 0, PMT PID and every stream PID PidNone, names " ".
// Types, flags, service IDs and subtitle fields keep their values.
void InitServiceSlots(ServiceBlock& sb, int n);

// Removes service `index` of `count`: the slots above move down by one,
// SvcCount becomes count-1, TsId and the network/rate piece are carried over,
// everything else of the block is cleared to zero first. An index at or
// beyond the count drops the last service; a count of 0 changes nothing.
void DeleteService(ServiceBlock& sb, int index, int count);

// Output PIDs the store already assigns to `input` (1..8): ghost entries on
// it plus the video, audio and data output PIDs below 8191 of its services.
int InputPidCount(const ConfigStore& store, int input);

// True when the count above is 44 or more ("Limited 44 Pid per IN.").
bool PidLimitReached(const ConfigStore& store, int input);

} // namespace kv
