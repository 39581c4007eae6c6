// Cutting the received byte stream into records.
#include "link/record_cutter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RecordStartingWith(uint8_t first, uint8_t fill) {
    Bytes r(LineRecordSize, fill);
    r[0] = first;
    return r;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Feeds `stream` in pieces of `chunk` bytes (at most what the cutter wants,
// as the receive thread asks) and collects the records.
std::vector<Bytes> Cut(const Bytes& stream, std::size_t chunk) {
    RecordCutter cutter;
    std::vector<Bytes> records;
    std::size_t pos = 0;
    while (pos < stream.size()) {
        const std::size_t n =
            std::min({chunk, stream.size() - pos, static_cast<std::size_t>(cutter.Wanted())});
        cutter.Feed(stream.data() + pos, n,
                    [&](const uint8_t* r) { records.emplace_back(r, r + LineRecordSize); });
        pos += n;
    }
    return records;
}

struct CutCase {
    const char* behaviour;
    Bytes stream;
    std::vector<Bytes> expected;
};

TEST(RecordCutter, CutsTheStreamAsTheResynchronisationRuleSays) {
    const Bytes a = RecordStartingWith(0x47, 0x11);
    const Bytes b = RecordStartingWith(0xB8, 0x22);
    const Bytes noise(100, 0x00);
    Bytes misaligned = Join({Bytes(5, 0x33), a}); // junk, then a record that is cut 5 bytes early
    misaligned[2] = 0xB8;                         // ... but a 0xB8 sits in the junk
    const Bytes fromMisaligned(misaligned.begin() + 2, misaligned.begin() + 2 + LineRecordSize);

    const std::vector<CutCase> cases = {
        {"whole records pass unchanged", Join({a, b}), {a, b}},
        {"leading junk is dropped", Join({noise, a}), {a}},
        {"a full buffer of junk is dropped whole", Join({Bytes(400, 0x55), b}), {b}},
        {"junk between records is dropped", Join({a, Bytes(7, 0x01), b}), {a, b}},
        {"a misaligned 0xB8 starts a record as is", misaligned, {fromMisaligned}},
        {"an incomplete record is not handed out", Join({a, Bytes(b.begin(), b.begin() + 100)}), {a}},
        {"nothing but junk gives nothing", Bytes(1000, 0x7F), {}},
    };
    for (const CutCase& c : cases)
        for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{100}, std::size_t{188}})
            EXPECT_EQ(Cut(c.stream, chunk), c.expected) << c.behaviour << ", read in pieces of " << chunk;
}

TEST(RecordCutter, RecordSplitAcrossReadsIsCompletedFromTheFollowingInput) {
    const Bytes a = RecordStartingWith(0x47, 0x44);
    RecordCutter cutter;
    int handed = 0;
    const auto count = [&](const uint8_t* r) {
        ++handed;
        EXPECT_TRUE(std::equal(a.begin(), a.end(), r));
    };
    const Bytes withJunk = Join({Bytes(3, 0x00), a});
    cutter.Feed(withJunk.data(), 50, count); // 3 junk + 47 bytes of the record
    EXPECT_EQ(cutter.Wanted(), LineRecordSize - 47);
    EXPECT_EQ(handed, 0);
    cutter.Feed(withJunk.data() + 50, withJunk.size() - 50, count);
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(cutter.Wanted(), LineRecordSize);
}

} // namespace
} // namespace kv
