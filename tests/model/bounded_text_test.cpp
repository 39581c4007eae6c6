// The text of a fixed char field: up to its first NUL, never past the field.
#include <gtest/gtest.h>

#include "model/bounded_text.h"

namespace kv {
namespace {

TEST(BoundedText, StopsAtTheFirstNulOrTheFieldsEnd) {
    const char withNul[6] = {'A', 'B', '\0', 'C', 'D', 'E'};
    const char full[4] = {'d', 'e', 'u', 'x'};
    EXPECT_EQ(BoundedText(withNul), "AB");
    EXPECT_EQ(BoundedText(full), "deux");
    EXPECT_EQ(BoundedText(full, 3), "deu");
    EXPECT_EQ(BoundedText(withNul, 0), "");
}

} // namespace
} // namespace kv
