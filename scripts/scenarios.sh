#!/usr/bin/env bash
# The whole scenario matrix: builds brisko.exe, brisko-scan.exe and the
# programs the runner plants or drives with, then runs every scenario on
# win98, nt40, winxp, win7 and win10 under Wine, one throwaway prefix at a
# time, and prints the table of outcomes in Markdown (also saved as
# build/scenarios-table.md).
# Arguments are passed to tests/scenarios/run-scenarios.sh, e.g.
#   ./scripts/scenarios.sh --versions "win98 winxp" --scenarios "files hosts"
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}

"$top/scripts/install-build-tools.sh"
cmake -S "$top" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win64" -j "$(nproc)" --target brisko brisko-scan brisko-driver brisko-sample brisko-infected-hosts \
  brisko_schedule_deletion >/dev/null
exec "$top/tests/scenarios/run-scenarios.sh" --table "$build/scenarios-table.md" "$@" "$build/win64"
