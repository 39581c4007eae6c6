// What `decode` refuses: bytes that are no configuration image, and images
// the parse reports bad parts of.
#include "tables/image_check.h"

#include <gtest/gtest.h>

#include "ops/readback_display.h"
#include "tables/image_writer.h"
#include "tables_test_support.h"

namespace kv {
namespace {

std::vector<std::string> ProblemsOf(const std::vector<uint8_t>& bytes) {
    ReadBackResult parsed;
    DecodeImageToProject(bytes, &parsed);
    return ImageDecodeProblems(bytes, parsed);
}

TEST(ImageCheck, OnlyAWholeConfigurationImageDecodesWithoutProblems) {
    const std::vector<uint8_t> rich = BuildConfigImage(*test::RichStore(), 1);
    auto ghostsOnly = test::ZeroStore();
    test::AddGhost(*ghostsOnly, 2, 0x100, 0x200);
    std::vector<uint8_t> badMap = rich;
    badMap[3 * 188 + 1] = 0x07; // record 3: the PID map of input 3
    std::vector<uint8_t> noPat = rich;
    noPat[11 * 188] = 0x00;
    std::vector<uint8_t> noise(2 * 188, 0x11);

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"services", rich, {}},
        {"ghosts only", BuildConfigImage(*ghostsOnly, 1), {}},
        {"empty", {}, {"not a configuration image: the file is empty"}},
        {"project",
         std::vector<uint8_t>(ProjectFileSize),
         {"not a configuration image: this is a project file (*.MUX), not a configuration image"}},
        {"odd size",
         std::vector<uint8_t>(200, 0x47),
         {"not a configuration image: 200 bytes is not a whole number of 188-byte records"}},
        {"noise", noise, {"not a configuration image: no record starts with 0x47 or 0xB8"}},
        {"no PAT", noPat, {"not a configuration image: no PAT at record 11"}},
        {"bad PID map", badMap, {"Error in file. (record 3, the PID map of input 3, is not B8 01)"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ProblemsOf(c.bytes), c.problems) << c.what;
}

} // namespace
} // namespace kv
