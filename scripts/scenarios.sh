#!/usr/bin/env bash
# The whole scenario matrix: builds brisko.exe, brisko-scan.exe and the
# programs the runner plants or drives with, then runs every scenario under
# Wine, one throwaway prefix at a time, and prints the table of outcomes in
# Markdown for each build and prefix:
#   the x86_64 build in 64-bit prefixes: win98, nt40, winxp, win7, win10
#     (build/scenarios-table.md);
#   where this machine runs 32-bit programs, the i686 build in 32-bit
#     prefixes: win98, nt40, winxp, win7 (build/scenarios-table-i686.md),
#     and under WoW64: win7, win10 (build/scenarios-table-i686-wow64.md).
# Arguments are passed to tests/scenarios/run-scenarios.sh, e.g.
#   ./scripts/scenarios.sh --versions "win98 winxp" --scenarios "files hosts"
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}
runner=$top/tests/scenarios/run-scenarios.sh

"$top/scripts/install-build-tools.sh"
build_for() {  # build_for FOLDER TOOLCHAIN
  cmake -S "$top" -B "$build/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$2.cmake" >/dev/null
  cmake --build "$build/$1" -j "$(nproc)" --target brisko brisko-scan brisko-driver brisko-sample \
    brisko-infected-hosts brisko_schedule_deletion >/dev/null
}

status=0
build_for win64 mingw-w64-x86_64
echo "== The x86_64 build in 64-bit prefixes"
"$runner" --table "$build/scenarios-table.md" "$@" "$build/win64" || status=1

# shellcheck source=scripts/lib/thirty-two-bit.sh
source "$top/scripts/lib/thirty-two-bit.sh"
if runs_32_bit_programs; then
  build_for win32 mingw-w64-i686
  echo "== The i686 build in 32-bit prefixes"
  BRISKO_WINE_ARCH=win32 "$runner" --versions "win98 nt40 winxp win7" --table "$build/scenarios-table-i686.md" \
    "$@" "$build/win32" || status=1
  echo "== The i686 build under WoW64"
  BRISKO_WINE_ARCH=wow64 "$runner" --versions "win7 win10" --table "$build/scenarios-table-i686-wow64.md" \
    "$@" "$build/win32" || status=1
else
  echo "== The i686 build's columns are not run: $refused_32_bit_reason"
fi
exit "$status"
