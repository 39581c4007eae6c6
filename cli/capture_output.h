#pragma once
// How the command line shows a capture: its services and PIDs as text or
// JSON, and reading one with the refusals of a damaged or foreign file.

#include <string>

#include <nlohmann/json.hpp>

#include "capture/capture.h"

namespace kv::cli {

// 0 with the capture read; ExitNoInput when the file cannot be opened,
// ExitDataErr when it is no transport stream or (unless `damagedOk`)
// damaged; the refusal reported under the file's name.
int LoadCapture(const std::string& path, CaptureReading reading, Capture& capture, bool damagedOk = false);

// {"packet_size", "first_sync", "packets", "whole_file", "duration", "bit_rate",
// "ts_id", "services": [{"service_id", "name", "provider", "pmt_pid",
// "pmt_found", "pcr_pid", "eit_present", "eit_schedule", "bit_rate",
// "streams": [{"pid", "stream_type", "kind", "language", "ac3",
// "subtitling", "subtitle_language", "subtitling_type"}]}], "pids": [{"pid",
// "packets", "scrambled", "pcrs", "bit_rate"}], "notes", "damage"}
nlohmann::json CaptureJson(const Capture& capture);

std::string CaptureText(const Capture& capture, bool withPids);

} // namespace kv::cli
