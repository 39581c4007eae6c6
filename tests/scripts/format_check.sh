#!/usr/bin/env bash
# Every C++ source of the project is in the shape .clang-format gives it:
# lists the files that are not (clang-format --dry-run) and fails.
#
#   format_check.sh [SOURCE_ROOT]
set -uo pipefail
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$root" || exit 2
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 2; }
mapfile -t files < <(find model capture tables link ops wire ui cli tests fuzz -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
bad=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${bad[@]}" >&2
    echo "run: clang-format -i ${bad[*]}" >&2
    exit 1
fi
echo "${#files[@]} files formatted"
