#include "ops/send_mux.h"

#include "ops/bit_rate_entry.h"
#include "ops/service_entry.h"
#include "tables/image_file.h"
#include "tables/image_writer.h"

namespace kv {
namespace {

// The range warning of the mode, as leaving the bit-rate box gives it for a
// rate below the range (1 bit/s is below it in both modes).
std::string RangeWarning(bool byteMode) {
    ConfigStore scratch{};
    return ApplyBitRateEntry(scratch, "1", byteMode).Warning;
}

} // namespace

SendMuxCheck PrepareSendMux(ConfigStore& store, const SendMuxEntry& entry) {
    SendMuxCheck check;
    if (entry.RateText) {
        const BitRateEntry rate = ApplyBitRateEntry(store, *entry.RateText, entry.ByteMode);
        if (rate.outcome == BitRateEntry::Outcome::Ignored) {
            check.outcome = SendMuxCheck::Outcome::RateIgnored;
            check.Warning = RangeWarning(entry.ByteMode);
            return check;
        }
        if (rate.outcome == BitRateEntry::Outcome::OutOfRange) {
            check.outcome = SendMuxCheck::Outcome::RateOutOfRange;
            check.Warning = rate.Warning;
            return check;
        }
        // The shown rate, not the typed one, is what the device is told.
        check.ShownRate = rate.EffectiveRate;
        store.Svc.BitRate = rate.EffectiveRate;
        store.Ghost.GhostBitRate = rate.EffectiveRate;
    }
    if (entry.TsIdText) store.Svc.TsId = static_cast<uint16_t>(AtolText(*entry.TsIdText));
    if (entry.NetName) WriteNetName(store.Svc, *entry.NetName); // the name the NIT carries
    if (std::optional<std::string> refusal = ImageLimitViolation(store)) {
        check.outcome = SendMuxCheck::Outcome::OverLimit;
        check.Warning = std::move(*refusal);
    }
    return check;
}

SendMuxResult SendMuxImage(const ConfigStore& store, int patVersion, const DeviceFiles& files,
                           SerialChannel* channel, const TransferTiming& timing) {
    SendMuxResult result;
    result.Problem = PrepareConfigFolder(files.AppFolder);
    if (!result.Problem.empty() || !WriteImageFile(files.ImageFile, BuildConfigImage(store, patVersion))) {
        result.Result = TransferResult::ImageNotWritten;
        return result;
    }
    if (channel) result.Result = TransferAndVerify(*channel, files.ImageFile, files.ReadBackFile, timing);
    return result;
}

} // namespace kv
