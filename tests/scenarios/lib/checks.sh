# The checks a scenario makes, each one printed as "ok   ..." or
# "FAIL ..."; a cell passes when none failed. Sourced by run-scenarios.sh.
#
#   expect WHAT COMMAND...       the command succeeds
#   expect_report FINDS SCANNED INFECTED REMOVED
#                                the report is exactly the lines of the file
#                                FINDS (in any order) and the statistics block
#   fingerprint FOLDER...        size, time and checksum of every file
#   eventually SECONDS COMMAND...
#                                the command succeeds within SECONDS
#   process_gone PID             the process has ended
#   registry_table_set ENTRY...  sets each value of "KEY|NAME|DATA|FATE"
#                                (FATE: removed or kept)
#   registry_table_removed ENTRY...
#                                how many of them are to be removed
#   registry_table_expect ENTRY...
#                                each removed one is gone, each kept one
#                                keeps its data

check_failures=0
cell_started=$SECONDS

expect() {
  local what=$1
  shift
  # The seconds since the cell began, to see where the time goes.
  local at="[$((SECONDS - cell_started))s]"
  if "$@"; then
    echo "ok   $at $what"
  else
    echo "FAIL $at $what"
    check_failures=$((check_failures + 1))
  fi
}

# The statistics block a scan closes with: a blank line first when
# something was found.
statistics_block() {  # statistics_block SCANNED INFECTED REMOVED
  [[ $2 -gt 0 ]] && echo " "
  echo "Scanning statistics"
  echo "------------------------------"
  printf 'Total files scanned\t\t:  %d\n' "$1"
  printf 'Total files infected\t\t:  %d\n' "$2"
  printf 'Total files removed\t\t:  %d\n' "$3"
}

# The finds of a report: every line before its statistics block.
report_finds() {
  awk '/^Scanning statistics$/ { exit } { print }' "$machine/report.txt" | sed '${/^ $/d}'
}

same_lines_in_any_order() {  # same_lines_in_any_order EXPECTED ACTUAL
  diff <(sort "$1") <(sort "$2") >"$machine/finds.diff" && return 0
  sed 's/^/     /' "$machine/finds.diff"
  return 1
}

expect_report() {
  local finds=$1 scanned=$2 infected=$3 removed=$4
  report_finds >"$machine/finds.txt"
  expect "the report lists exactly the expected finds ($(grep -c . "$finds") lines)" \
    same_lines_in_any_order "$finds" "$machine/finds.txt"
  statistics_block "$scanned" "$infected" "$removed" >"$machine/statistics.expected"
  expect "the report ends with the statistics: $scanned scanned, $infected infected, $removed removed" \
    diff <(tail -n "$(wc -l <"$machine/statistics.expected")" "$machine/report.txt") "$machine/statistics.expected"
}

# The files a scan walks: every file under the folders, as Windows lists
# them (a link in a scanned folder would be a file too; there are none).
count_files() {
  find "$@" -type f | wc -l
}

fingerprint() {
  find "$@" -type f -printf '%s %T@ %C@ %p\n' | sort -k4
  find "$@" -type f -print0 | sort -z | xargs -0 sha1sum
}

eventually() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 5; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  "$@"
}

process_gone() {
  ! kill -0 "$1" 2>/dev/null
}

registry_table_set() {
  local entry key name data fate
  for entry in "$@"; do
    IFS='|' read -r key name data fate <<<"$entry"
    registry_set "$key" "$name" "$data"
  done
}

registry_table_removed() {
  printf '%s\n' "$@" | grep -c '|removed$'
}

registry_table_expect() {
  local entry key name data fate
  for entry in "$@"; do
    IFS='|' read -r key name data fate <<<"$entry"
    if [[ $fate == removed ]]; then
      expect "$key $name ($data) is removed" registry_absent "$key" "$name"
    else
      expect "$key $name ($data) stays" test "$(registry_value "$key" "$name")" == "$data"
    fi
  done
}
