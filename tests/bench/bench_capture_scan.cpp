// Reading a capture of an input, side by side in one run: `scan` (the tables
// only) of a large capture whose tables are near its start, next to
// `ffprobe -show_programs` of the same file; and `scan --pids` (every packet)
// from the page cache, next to `cat FILE > /dev/null`. Prints figures; not a
// test.
//
//   bench_capture_scan [--mb N (default 1024)] [--cli PATH (default: the
//                      optimised build's kv2208-cli when built, else this tree's)]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "capture/capture_making.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rounds = 3;

// The best wall time of `command` over the rounds, in seconds; -1 when it failed.
double Best(const std::string& command) {
    double best = -1;
    for (int k = 0; k < Rounds; ++k) {
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (status != 0) return -1;
        best = best < 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

std::string Quoted(const std::string& s) {
    return kv::test::ShellQuoted(s);
}

} // namespace

int main(int argc, char** argv) {
    long megabytes = 1024;
    std::string cli = std::string(KV_SOURCE_DIR) + "/build/release/bin/kv2208-cli";
    if (!std::filesystem::exists(cli)) cli = KV_CLI_PATH;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (std::string(argv[k]) == "--mb") megabytes = std::atol(argv[k + 1]);
        if (std::string(argv[k]) == "--cli") cli = argv[k + 1];
    }
    kv::test::TempFolder folder;
    const std::string piece = kv::test::MakeCapture(folder, kv::test::ThreeServices());
    const auto bytes = kv::test::ReadBytes(piece);
    if (bytes.empty()) {
        std::fprintf(stderr, "ffmpeg made no capture\n");
        return 1;
    }
    // One second of three services, over and over: the tables come first.
    const std::string big = folder.File("big.ts");
    {
        std::ofstream out(big, std::ios::binary);
        const long long wanted = megabytes * 1024LL * 1024LL;
        for (long long written = 0; written < wanted; written += static_cast<long long>(bytes.size()))
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
    }
    const double size = static_cast<double>(std::filesystem::file_size(big)) / 1e6;
    std::printf("capture: %.0f MB, 188-byte packets, three services (%s)\n", size, cli.c_str());

    const std::string file = Quoted(big), quiet = " >/dev/null 2>&1";
    const double start = Best(Quoted(cli) + " --version" + quiet);
    const double cat = Best("cat " + file + quiet); // also fills the page cache
    const double psi = Best(Quoted(cli) + " scan " + file + quiet);
    const double probe = Best("ffprobe -v error -show_programs " + file + quiet);
    const double pids = Best(Quoted(cli) + " scan --pids " + file + quiet);

    std::printf("kv2208-cli --version:       %9.4f s  (starting the program)\n", start);
    std::printf("scan (tables only):         %9.4f s\n", psi);
    std::printf("ffprobe -show_programs:     %9.4f s\n", probe);
    std::printf("scan --pids (every packet): %9.4f s  (%.0f MB/s)\n", pids, pids > 0 ? size / pids : 0);
    std::printf("cat FILE > /dev/null:       %9.4f s  (%.0f MB/s)\n", cat, cat > 0 ? size / cat : 0);
    if (pids > 0 && cat > 0) std::printf("scan --pids / cat:          %9.2f\n", pids / cat);
    return psi < 0 || pids < 0 ? 1 : 0;
}
