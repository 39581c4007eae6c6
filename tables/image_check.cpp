#include "tables/image_check.h"

#include "model/config_store.h"
#include "tables/image_layout.h"

namespace kv {
namespace {

// Why the bytes are no image at all; empty when they have an image's shape.
std::string ShapeProblem(const std::vector<uint8_t>& image) {
    if (image.empty()) return "the file is empty";
    if (image.size() == ProjectFileSize) return "this is a project file (*.MUX), not a configuration image";
    if (image.size() % RecordSize != 0)
        return std::to_string(image.size()) + " bytes is not a whole number of 188-byte records";
    for (std::size_t at = 0; at < image.size(); at += RecordSize)
        if (IsRecordStart(image[at])) return "";
    return "no record starts with 0x47 or 0xB8";
}

// An image without a PAT: ghost entries only (the header, then the maps), or
// nothing at all (no header: the eight PID maps come first).
bool IsImageWithoutServices(const std::vector<uint8_t>& image) {
    if (image[0] != ImageRecordMark) return false;
    if (image.size() == PatIndex * RecordSize) return image[RecordTypeAt] == HeaderRecord;
    return image.size() == (PatIndex - 1) * RecordSize && image[RecordTypeAt] == PidMapRecord;
}

} // namespace

std::vector<std::string> ImageDecodeProblems(const std::vector<uint8_t>& image,
                                             const ReadBackResult& parsed) {
    if (std::string shape = ShapeProblem(image); !shape.empty())
        return {"not a configuration image: " + shape};
    std::vector<std::string> problems;
    if (parsed.PatVersion < 0 && !IsImageWithoutServices(image))
        problems.push_back("not a configuration image: no PAT at record " + std::to_string(PatIndex));
    for (int input : parsed.BadPidMapInputs)
        problems.push_back("Error in file. (record " + std::to_string(PidMapIndex(input)) +
                           ", the PID map of input " + std::to_string(input) + ", is not B8 01)");
    return problems;
}

} // namespace kv
