#!/usr/bin/env bash
# The install step of the scripts, driven with stand-ins for dpkg-query,
# apt-get, sudo and id: the exact apt-get command lines as root and as a user
# with sudo, apt's output shown, and only the packages of the lists asked for.
#
#   install_test.sh [COMMON_SH]   (default: the scripts' own lib/common.sh)
set -uo pipefail
common="${1:-$(cd "$(dirname "$0")/../.." && pwd)/scripts/lib/common.sh}"
stubs="$(mktemp -d)"
trap 'rm -rf "$stubs"' EXIT

# dpkg-query: every package is installed except those in $KV_MISSING.
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/sh
for name; do :; done # the package is the last argument
for p in $KV_MISSING; do [ "$p" = "$name" ] && exit 1; done
printf 'install ok installed'
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/bin/sh
echo "DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-} apt-get $*" >>"$KV_LOG"
echo "Reading package lists..."
STUB
cat >"$stubs/sudo" <<'STUB'
#!/bin/sh
echo "sudo $*" >>"$KV_LOG"
exec "$@"
STUB
cat >"$stubs/id" <<'STUB'
#!/bin/sh
echo "$KV_UID"
STUB
chmod +x "$stubs"/*

failures=0
# check UID EXPECTED-LOG: runs `kv_ensure_packages build` with qt6-base-dev and
# tshark (a test package) missing.
check() {
    local uid="$1" expected="$2" log="$stubs/log.$1" output
    : >"$log"
    output="$(PATH="$stubs:$PATH" KV_LOG="$log" KV_UID="$uid" KV_MISSING="qt6-base-dev tshark" \
        bash -c 'unset DEBIAN_FRONTEND; source "$1" && kv_ensure_packages build' _ "$common" 2>&1)"
    if [ "$(cat "$log")" != "$expected" ]; then
        printf 'uid %s: apt-get was run as\n%s\nexpected\n%s\n' "$uid" "$(cat "$log")" "$expected"
        failures=$((failures + 1))
    fi
    if ! grep -q "Reading package lists..." <<<"$output"; then
        printf 'uid %s: apt-get output was hidden\n' "$uid"
        failures=$((failures + 1))
    fi
}

install="apt-get install -y --no-install-recommends qt6-base-dev"
check 0 "DEBIAN_FRONTEND=noninteractive apt-get update
DEBIAN_FRONTEND=noninteractive $install"
check 1000 "sudo env DEBIAN_FRONTEND=noninteractive apt-get update
DEBIAN_FRONTEND=noninteractive apt-get update
sudo env DEBIAN_FRONTEND=noninteractive $install
DEBIAN_FRONTEND=noninteractive $install"

[ "$failures" -eq 0 ] && echo "install step: as expected"
exit $(( failures > 0 ))
