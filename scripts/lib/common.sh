# Shared by the scripts: install what is missing, configure and build.
# shellcheck shell=bash

KV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
KV_BUILD="$KV_ROOT/build/test"

KV_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgtest-dev nlohmann-json3-dev libcli11-dev
             iso-codes tshark ffmpeg clang libclang-rt-14-dev xvfb xauth fonts-dejavu-core)

kv_ensure_packages() {
    local missing=()
    for p in "${KV_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo -E apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The test tree (build/test): programs and tests with the sanitizers on.
kv_build() {
    # Rebuilds reuse earlier compilations when ccache is on the machine.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$KV_ROOT" -B "$KV_BUILD" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON \
          -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" "${launcher[@]}" >/dev/null
    # Quiet when all goes well; the whole log is shown when the build fails.
    local log="$KV_BUILD/build.log"
    if ! cmake --build "$KV_BUILD" -j"$(nproc)" >"$log" 2>&1; then
        cat "$log"
        echo "Build failed (log: $log)" >&2
        return 1
    fi
    grep -E "warning:" "$log" || true
}
