#!/usr/bin/env bash
# Builds brisko-scan and scans a mounted Windows volume:
#   scripts/scan.sh [--action remove|rename|leave] FOLDER
# Without arguments it makes a throwaway demo volume of harmless synthetic
# samples in a temporary folder, scans it and removes it again.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}/release

"$top/scripts/install-build-tools.sh" --host
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target brisko-scan brisko-sample >/dev/null

scan="$build/tools/brisko_scan/brisko-scan"
if [ $# -gt 0 ]; then
  exec "$scan" "$@"
fi

demo=$(mktemp -d) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
trap 'rm -rf "$demo"' EXIT
sample="$build/tools/sample_writer/brisko-sample"
mkdir -p "$demo/Windows/System32" "$demo/Program Files/Tools" "$demo/Users/guest/Downloads"
"$sample" 1 "$demo/Windows/System32/netsvc32.exe"
"$sample" --layout holes 121 "$demo/Program Files/Tools/updater.exe"
"$sample" --layout none 5 "$demo/Users/guest/Downloads/setup.exe"
"$sample" --near-miss probe1-changed 5 "$demo/Users/guest/Downloads/almost.exe"
echo "[boot loader]" > "$demo/boot.ini"
echo "Nothing to see here." > "$demo/Users/guest/readme.txt"
echo "Demo volume (synthetic samples only): $demo"
status=0
"$scan" "$demo" || status=$?
echo "brisko-scan exited with $status (0 clean, 1 infected files found and treated as asked, 3 something could not be treated)"
