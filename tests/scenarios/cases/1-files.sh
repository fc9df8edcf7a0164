# 1. Infected samples on C: and D: (in the system folder, nested folders,
# under Program Files, one read-only) among near misses and ordinary files:
# each infected file is removed with its line, the statistics count every
# file of both drives, and every other file keeps its bytes and times.
scenarios+=(files)
scenario_title[files]="1. Samples on C: and D:, nested, Program Files, read-only; near misses"
through_brisko_scan files

# The file's size, times and checksum are the same after the scan.
unchanged_file() {
  local before
  before=$(grep -F " $1" "$machine/untouched.before")
  [[ -n $before && $before == "$(grep -F " $1" "$machine/untouched.after")" ]]
}

scenario_files() {
  local version=$1 hosts=$c/windows/system32/drivers/etc/hosts
  [[ $version == win98 ]] && hosts=$c/windows/hosts
  local -A infected=(
    ["$c/windows/system32/netsvc32.exe"]=netsvc
    ["$c/Program Files/Tools/updater.exe"]=updater
    ["$c/Data/one/two/three/four/deep.exe"]=deep
    ["$d/Users/guest/Downloads/setup.exe"]=setup
    ["$d/Program Files/App/tool.exe"]=tool
  )
  local file
  for file in "${!infected[@]}"; do sample_plant "${infected[$file]}" "$file"; done
  # Read-only on Windows: the program must clear the attribute to remove it.
  chmod a-w "$d/Users/guest/Downloads/setup.exe"
  sample_plant near-probe1 "$d/Users/guest/Downloads/almost.exe"
  sample_plant near-probe2 "$c/Data/one/two/probe2.exe"
  sample_plant near-short "$d/Games/short.exe"
  sample_plant near-long "$c/Program Files/Tools/long.exe"
  sample_plant near-sections "$d/Program Files/App/sections.exe"
  sample_plant near-far "$d/far.exe"
  echo "Nothing to see here." >"$d/Users/guest/readme.txt"
  echo "high scores" >"$d/Games/scores.dat"
  echo "[boot loader]" >"$d/boot.ini"
  chmod a-w "$d/boot.ini"

  local finds=$machine/finds.expected
  for file in "${!infected[@]}"; do
    printf '%s     %s removed\n' "$(windows_path "$file")" "$(sample_threat "${infected[$file]}")"
  done >"$finds"
  local scanned
  scanned=$(count_files "$c" "$d")
  fingerprint "$c" "$d" | grep -vF -f <(printf '%s\n' "${!infected[@]}") >"$machine/untouched.before"

  program_scan
  read_report
  expect_report "$finds" "$scanned" 5 5
  # Drives are walked in order: every find on C: comes before those on D:.
  expect "the finds on C: come before those on D:" \
    bash -c '! sed -n "/^D:/,\$p" "$1" | grep -q "^C:"' _ "$machine/finds.txt"
  for file in "${!infected[@]}"; do
    expect "$(windows_path "$file") is gone" test ! -e "$file"
  done
  fingerprint "$c" "$d" >"$machine/untouched.after"
  expect "every other file of C: and D: keeps its bytes and times" \
    diff "$machine/untouched.before" "$machine/untouched.after"
  # Checked at every detection, the clean hosts file is only read.
  expect "the clean hosts file ($(windows_path "$hosts")) is there, untouched" unchanged_file "$hosts"
  program_ends 1
}
