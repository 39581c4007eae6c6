# Shared by the scripts: install what is missing, configure and build.
# shellcheck shell=bash

KV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
KV_BUILD="$KV_ROOT/build/test"       # sanitizer build: programs and tests
KV_RELEASE="$KV_ROOT/build/release"  # optimised build: the two programs only
KV_PACKAGE_DIR="$KV_ROOT/build/package"

# Debian packages by purpose. Building and running the two programs:
KV_PACKAGES_BUILD=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev nlohmann-json3-dev libcli11-dev libdvbpsi-dev
                   iso-codes fonts-dejavu-core)
# The tests: GoogleTest, stream analysers, a virtual display, and what the
# package check runs, and clang-format for the format check.
KV_PACKAGES_TEST=(libgtest-dev tshark ffmpeg xvfb xauth desktop-file-utils man-db clang-format python3-jsonschema)
# Making the Debian package (dpkg-shlibdeps, and `file` that CPack asks) and
# checking it with lintian.
KV_PACKAGES_PACKAGE=(dpkg-dev file lintian)
# The fuzz targets (libFuzzer).
KV_PACKAGES_FUZZ=(clang libclang-rt-14-dev)
# The Windows build (scripts/windows): MinGW-w64 with POSIX threads, the
# GoogleTest sources to build it with, Wine to run the results, zip and man
# for the package.
KV_PACKAGES_WINDOWS=(cmake g++-mingw-w64-x86-64-posix googletest nlohmann-json3-dev libcli11-dev
                     wine wine64 zip man-db)
KV_WINDOWS="$KV_ROOT/build/windows"  # the Windows tree: kv2208-cli.exe and the core tests

kv_is_root() { [ "$(id -u)" -eq 0 ]; }

# kv_ensure_packages LIST...: installs the packages of the named lists (build,
# test, package, fuzz) that are missing, as root directly and otherwise
# through sudo. apt's own progress is shown: a first run takes minutes.
kv_ensure_packages() {
    local wanted=() missing=() list p
    for list in "$@"; do
        local -n packages="KV_PACKAGES_${list^^}"
        wanted+=("${packages[@]}")
        unset -n packages
    done
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing the missing Debian packages: ${missing[*]}"
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
    kv_is_root || apt=(sudo "${apt[@]}")
    "${apt[@]}" update
    "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
}

# kv_build_tree DIR CMAKE-OPTION...: configures and builds one tree.
kv_build_tree() {
    local dir="$1"
    shift
    # Rebuilds reuse earlier compilations when ccache is on the machine.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$KV_ROOT" -B "$dir" "$@" "${launcher[@]}" >/dev/null
    # Quiet when all goes well; the whole log is shown when the build fails.
    local log="$dir/build.log"
    if ! cmake --build "$dir" -j"$(nproc)" >"$log" 2>&1; then
        cat "$log"
        echo "Build failed (log: $log)" >&2
        return 1
    fi
    grep -E "warning:" "$log" || true
}

# The test tree (build/test): programs and tests with the sanitizers on.
kv_build() {
    kv_build_tree "$KV_BUILD" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_TESTS=ON \
        -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
}

# The optimised tree (build/release): the two programs, no sanitizers, no tests.
kv_build_release() {
    kv_build_tree "$KV_RELEASE" -DCMAKE_BUILD_TYPE=Release -DKV_SANITIZE=OFF -DKV_BUILD_TESTS=OFF
}

# kv_wine_env: Wine's own folder inside the Windows tree, quiet, without the
# prompts for Mono and Gecko; prepared once.
kv_wine_env() {
    export WINEPREFIX="$KV_WINDOWS/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}
