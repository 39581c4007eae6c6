#include "ops/get_from_device.h"

#include <optional>
#include <vector>

#include "tables/image_file.h"

namespace kv {

CaptureResult CaptureFromDevice(SerialChannel* channel, const DeviceFiles& files,
                                const TransferTiming& timing) {
    CaptureResult result;
    result.Problem = PrepareConfigFolder(files.AppFolder);
    result.Captured =
        result.Problem.empty() && channel && ReceiveImage(*channel, files.ReadBackFile, timing) == 0;
    return result;
}

ReadBackOutcome ReadBackIntoStore(ConfigStore& store, const std::string& readBackFile) {
    ReadBackOutcome outcome;
    if (const std::optional<std::vector<uint8_t>> image = ReadImageFile(readBackFile))
        outcome.Parsed = ParseReadBack(*image, store);
    outcome.Shown = DisplayAfterReadBack(store, outcome.Parsed);
    return outcome;
}

} // namespace kv
