// Writes the seed corpus of the fuzz targets into DIR/project_file,
// DIR/project_description (the same project files), DIR/readback_parse, DIR/record_cutter and
// DIR/capture_reader: project files of the stores the tests use, the configuration images the writer makes of
// them, and line streams that carry those images with noise around them.
//
// Usage: fuzz_seed_writer DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tables/image_layout.h"
#include "tables/image_writer.h"
#include "tables/pat_table.h"
#include "tables/signalling_packets.h"
#include "tests/tables/tables_test_support.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

bool WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// `count` services spread over the eight inputs, each with a video (that
// carries the PCR) and one audio stream; the first 32 have PCR adjust on.
std::unique_ptr<ConfigStore> ManyServices(int count) {
    auto store = test::ZeroStore();
    test::SetText(store->Svc.NetName, "MANY");
    const int16_t gaps[10] = {133, 132, 133, 133, 132, 133, 132, 133, 133, 132};
    test::SetRate(*store, gaps, 4);
    store->Svc.BitRate = store->Ghost.GhostBitRate = 27000000;
    for (int i = 0; i < count; ++i) {
        const std::string name = "Svc " + std::to_string(i);
        ServicePids& p = test::AddService(*store, 1 + i % InputCount, static_cast<uint16_t>(100 + i),
                                          static_cast<int16_t>(0x100 + i), name.c_str(), "MANY");
        p.PcrIn = p.VideoIn = static_cast<int16_t>(0x200 + i);
        p.PcrOut = p.VideoOut = static_cast<int16_t>(0x400 + i);
        p.Audio[0].PidIn = static_cast<int16_t>(0x600 + i);
        p.Audio[0].PidOut = static_cast<int16_t>(0x800 + i);
        p.PcrAdjust = i < PcrListASlots ? 1 : 0;
    }
    return store;
}

std::unique_ptr<ConfigStore> GhostsOnly() {
    auto store = test::ZeroStore();
    const int16_t gaps[10] = {40, 40, 41, 40, 40, 41, 40, 40, 41, 40};
    test::SetRate(*store, gaps, 0);
    store->Ghost.GhostBitRate = 100000000;
    for (int j = 0; j < 6; ++j)
        test::AddGhost(*store, 1 + j % 3, static_cast<int16_t>(0x700 + j), static_cast<int16_t>(0x900 + j));
    return store;
}

// The rich description with noise in every free slot, as a project file
// saved after deletes may hold it.
std::unique_ptr<ConfigStore> RichWithNoise() {
    auto store = test::RichStore();
    store->Svc.BitRate = 27000000;
    auto* free = reinterpret_cast<uint8_t*>(&store->Svc.SvcPids[store->Svc.SvcCount]);
    const auto* end = reinterpret_cast<const uint8_t*>(&store->Svc.SvcPids[MaxServices]);
    for (uint8_t value = 0x5A; free < end; ++free, value = static_cast<uint8_t>(value * 13 + 7))
        *free = value;
    return store;
}

Bytes StoreBytes(const ConfigStore& store) {
    const auto* p = reinterpret_cast<const uint8_t*>(&store);
    return {p, p + sizeof store};
}

// The read-back target's input: mode byte, four seed bytes, the image.
Bytes ReadBackInput(uint8_t mode, uint32_t seed, const Bytes& image) {
    Bytes input{mode};
    for (int k = 0; k < 4; ++k) input.push_back(static_cast<uint8_t>(seed >> (8 * k)));
    input.insert(input.end(), image.begin(), image.end());
    return input;
}

// The cutter target's input: the script of piece sizes, then the line.
Bytes CutterInput(const Bytes& script, const Bytes& line) {
    Bytes input{static_cast<uint8_t>(script.size() - 1)};
    input.insert(input.end(), script.begin(), script.end());
    input.insert(input.end(), line.begin(), line.end());
    return input;
}

// The image as the device plays it from its middle record on, round to its start.
// A capture of the signalling of `store` for the capture reader: a reading
// byte, then the packets at `packetSize` (188, 192 with a prefix, 204 with 16
// bytes after each), each table twice, the second time under a new version.
Bytes CaptureInput(uint8_t reading, const ConfigStore& store, int packetSize) {
    Bytes input{reading};
    for (const int version : {3, 4})
        for (const Packet& packet : SignallingPackets(store, version)) {
            if (packetSize == 192) input.insert(input.end(), 4, 0x00);
            input.insert(input.end(), packet.begin(), packet.end());
            if (packetSize == 204) input.insert(input.end(), 16, 0xFF);
        }
    return input;
}

Bytes FromTheMiddle(const Bytes& image) {
    const std::size_t middle = (image.size() / RecordSize / 2) * RecordSize;
    Bytes played(image.begin() + static_cast<std::ptrdiff_t>(middle), image.end());
    played.insert(played.end(), image.begin(), image.begin() + static_cast<std::ptrdiff_t>(middle));
    return played;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_writer DIR\n");
        return 64;
    }
    const fs::path dir = argv[1];
    const fs::path projects = dir / "project_file", descriptions = dir / "project_description",
                   images = dir / "readback_parse", lines = dir / "record_cutter",
                   captures = dir / "capture_reader";
    for (const fs::path& folder : {projects, descriptions, images, lines, captures})
        fs::create_directories(folder);

    std::vector<std::pair<std::string, std::unique_ptr<ConfigStore>>> stores;
    stores.emplace_back("zero", test::ZeroStore());
    stores.emplace_back("sample", test::SampleStore());
    stores.emplace_back("rich", test::RichStore());
    stores.emplace_back("rich_noise", RichWithNoise());
    stores.emplace_back("ghosts", GhostsOnly());
    stores.emplace_back("services12", ManyServices(12));
    stores.emplace_back("services41", ManyServices(MaxPatServices));
    stores.emplace_back("services100", ManyServices(MaxServices));

    bool ok = true;
    int written = 0;
    auto write = [&](const fs::path& path, const Bytes& bytes) {
        ok = WriteFile(path, bytes) && ok;
        ++written;
    };
    const Bytes noise(300, 0x00);
    for (const auto& [name, store] : stores) {
        for (const fs::path& folder : {projects, descriptions})
            write(folder / (name + ".MUX"), StoreBytes(*store));
        if (ImageLimitViolation(*store)) continue;
        const Bytes image = BuildConfigImage(*store, 7);
        for (uint8_t mode = 0; mode < 3; ++mode)
            write(images / (name + "_mode" + std::to_string(mode)), ReadBackInput(mode, 1234u + mode, image));
        write(images / (name + "_short"), ReadBackInput(1, 99u, Bytes(image.begin(), image.end() - 100)));

        Bytes line = noise;
        line.insert(line.end(), image.begin(), image.end());
        const Bytes middle = FromTheMiddle(image);
        line.insert(line.end(), middle.begin(), middle.end());
        write(lines / (name + "_line"), CutterInput({188, 7, 200, 1, 64, 255, 3, 100}, line));
        write(lines / (name + "_records"), CutterInput({188}, image));
        for (const int packetSize : {188, 192, 204})
            write(captures / (name + "_" + std::to_string(packetSize)),
                  CaptureInput(packetSize == 188 ? 1 : 0, *store, packetSize));
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", dir.c_str());
        return 1;
    }
    std::printf("%d seed files in %s\n", written, dir.c_str());
    return 0;
}
