#!/usr/bin/env bash
# Checks the Debian package: its dependencies, its files, the desktop entry
# and manual pages, and that its programs run from an extracted copy and keep
# their files in the user's Config folder, never beside themselves.
#
#   check_package.sh kv2208_VERSION_ARCH.deb
set -uo pipefail
deb="$1"
work="$(mktemp -d)"
trap 'kill "${window:-}" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "package check: $*" >&2; failures=$((failures + 1)); }

# The Qt 6 runtime is among the dependencies dpkg-shlibdeps found.
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "Depends lacks the Qt 6 runtime: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q "libdvbpsi" || fail "Depends lacks libdvbpsi, which reads captures: $(dpkg-deb -f "$deb" Depends)"

# Exactly the programs, the desktop entry, the icon, the manual pages, the
# documentation, the description schema and the examples.
expected="./usr/bin/kv2208-cli
./usr/bin/kv2208-conf
./usr/share/applications/kv2208-conf.desktop
./usr/share/doc/kv2208/README.md
./usr/share/doc/kv2208/changelog.gz
./usr/share/doc/kv2208/copyright
./usr/share/doc/kv2208/examples
./usr/share/icons/hicolor/scalable/apps/kv2208-conf.svg
./usr/share/kv2208/examples/eit-passthrough.json
./usr/share/kv2208/examples/ghost-only.json
./usr/share/kv2208/examples/tv-bouquet.json
./usr/share/kv2208/kv2208-description.schema.json
./usr/share/man/man1/kv2208-cli.1.gz
./usr/share/man/man1/kv2208-conf.1.gz"
files="$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{print $6}' | sort)"
[ "$files" = "$expected" ] || fail "the files are
$files"

# lintian finds no errors (warnings are shown).
out="$(lintian --fail-on error "$deb" 2>&1)" || fail "lintian: $out"
[ -n "$out" ] && echo "$out"

root="$work/root"
dpkg-deb -x "$deb" "$root"
out="$(desktop-file-validate "$root/usr/share/applications/kv2208-conf.desktop" 2>&1)" || fail "desktop entry: $out"
grep -qE "error|warning" <<<"$out" && fail "desktop entry: $out"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The extracted programs, with a fresh home and no Config folder beside them.
bin="$root/usr/bin"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
version="$("$bin/kv2208-cli" --version)" || fail "kv2208-cli --version failed"
[ "$version" = "kv2208-cli $(dpkg-deb -f "$deb" Version)" ] || fail "kv2208-cli --version says '$version'"
head -c 13880 /dev/zero >"$work/empty.MUX"
"$bin/kv2208-cli" show "$work/empty.MUX" | grep -q '"services"' || fail "kv2208-cli show failed"
# The installed examples pass the check, through the documentation's link too.
for example in "$root"/usr/share/doc/kv2208/examples/*.json; do
    "$bin/kv2208-cli" check "$example" >/dev/null || fail "$(basename "$example") does not pass the check"
done

touch "$work/before"
"$bin/kv2208-conf" --port 3 &
window=$!
port_file="$HOME/.config/kv2208/KV2200-8_CONFPORT.kv2"
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
kill "$window" 2>/dev/null
wait "$window" 2>/dev/null
[ "$(od -An -tx1 "$port_file" 2>/dev/null | tr -d ' ')" = "0300" ] || fail "the window program did not save COM3 in $port_file"
written="$(find "$root/usr" -newer "$work/before")"
[ -z "$written" ] || fail "written beside the programs: $written"

[ "$failures" -eq 0 ] && echo "package check: $(basename "$deb") as expected"
exit $(( failures > 0 ))
