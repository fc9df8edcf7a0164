# The program a cell runs: brisko.exe through its dialog, or brisko-scan.exe
# as a deployment tool runs it (--action remove --log L:\brisko-scan.log,
# the log on a network drive that the walk of the fixed drives leaves
# alone). A scenario says what to do once and both programs do it; a
# scenario NAME runs through brisko-scan.exe as the row NAME-scan. Sourced
# by run-scenarios.sh, which sets program for each cell.
#
#   through_brisko_scan NAME [TITLE]  adds the row NAME-scan
#   program_scan [ARGS...]     brisko.exe: started, SCAN pressed;
#                              brisko-scan.exe: runs to its end, with the
#                              options ARGS too
#   program_notice TEXT CAPTION
#                              the message box brisko.exe shows (OK closes
#                              it), a line "CAPTION: TEXT" in the log
#   program_restart yes|no     the restart question brisko.exe asks;
#                              brisko-scan.exe answers it by itself (Yes
#                              with --restart force)
#   read_report                the report's lines go to $machine/report.txt
#   program_ends EXIT_CODE     brisko.exe: OK ends it; brisko-scan.exe:
#                              its exit code, and its log: a header naming
#                              the machine, the user and the time, the
#                              report's lines, the notices and answers,
#                              the end and the exit status
#   program_ends_with_session EXIT_CODE
#                              after the restart it asked for: brisko.exe
#                              is ended; brisko-scan.exe as program_ends

program=brisko.exe

through_brisko_scan() {
  scenarios+=("$1-scan")
  scenario_title["$1-scan"]="${2:-${scenario_title[$1]}} (brisko-scan.exe)"
}

# The run's window title, as the code names the program.
program_title=$(sed -n 's/^constexpr const char\* programTitle = "\(.*\)";$/\1/p' "$top/base/program_identity.h")

program_scan() {
  if [[ $program == brisko.exe ]]; then
    brisko_start
    expect "SCAN starts the scan" drive scan
    return
  fi
  : >"$machine/log-notes.expected"
  date -u '+%F %T' >"$machine/scan.started"
  # cmd reads the whole exit code; Linux sees only its low 8 bits. Started
  # in C:, Wine has a working folder inside the machine.
  (cd "$c" && "$wine" cmd /c 'C:\brisko-scan.bat' --action remove --log 'L:\brisko-scan.log' "$@" </dev/null \
    2>"$machine/scan.stderr") | tr -d '\r' >"$machine/scan.stdout"
  date -u '+%F %T' >"$machine/scan.ended"
  sed 's/^/     > /' "$machine/scan.stdout"
  sed 's/^/     2> /' "$machine/scan.stderr"
}

program_notice() {  # program_notice TEXT CAPTION
  if [[ $program == brisko.exe ]]; then
    expect "$1 is announced, and OK closes it" drive notice "$1" "$2"
  else
    printf '%s: %s\n' "$2" "$1" >>"$machine/log-notes.expected"
  fi
}

program_restart() {  # program_restart yes|no
  if [[ $program == brisko.exe ]]; then
    expect "$1 is pressed in the restart question" drive restart "$1"
  else
    # The question as the code asks it, and the answer the run was told.
    printf '%s [answered %s]\n' \
      "$(printf 'The system has to be restarted to remove the virus completely from your system. \n\n Restart now?')" "${1^}" \
      >>"$machine/log-notes.expected"
  fi
}

read_report() {
  if [[ $program == brisko-scan.exe ]]; then
    # The wrapper's first line names the machine and user, its last gives
    # the exit code; between them brisko-scan.exe's report and its end.
    sed '1d;$d' "$machine/scan.stdout" >"$machine/scan.lines"
    sed '$d' "$machine/scan.lines" >"$machine/report.txt"
    expect "the scan ends with Scanning completed" test "$(tail -n 1 "$machine/scan.lines")" == "Scanning completed"
    return
  fi
  drive report >"$machine/driver-report.log" 2>&1
  local status=$?
  tr -d '\r' <"$machine/driver-report.log" | sed -n 's/^     | //p' >"$machine/report.txt"
  sed 's/^/     | /' "$machine/report.txt"
  expect "the scan ends and its report is read" test "$status" -eq 0
}

program_ends() {  # program_ends EXIT_CODE
  if [[ $program == brisko.exe ]]; then
    expect "OK ends the program" drive ok
    expect "brisko.exe has ended" brisko_wait 20
  else
    scan_exit_and_log "$1"
  fi
}

program_ends_with_session() {  # program_ends_with_session EXIT_CODE
  if [[ $program == brisko.exe ]]; then
    # Wine ends every program of the session for the restart it is asked.
    expect "brisko.exe ends with the session" brisko_wait 30
  else
    scan_exit_and_log "$1"
  fi
}

scan_exit_and_log() {  # scan_exit_and_log EXIT_CODE
  local code who log=$machine/logs/brisko-scan.log
  code=$(sed -n '$s/^exit code \(-\?[0-9]*\) *$/\1/p' "$machine/scan.stdout")
  expect "brisko-scan.exe exits with $1 (read by cmd: $code)" test "$code" == "$1"
  who=$(sed -n '1s/^machine \(.*\) *$/\1/p' "$machine/scan.stdout")
  tr -d '\r' <"$log" >"$machine/log.txt"
  sed 's/^/     log| /' "$machine/log.txt"
  expect "the log has one header, naming $who and a time of the run" \
    log_header_between "$(head -n 1 "$machine/log.txt")" "=== brisko-scan $program_title on $who, " \
    "$(cat "$machine/scan.started")" "$(cat "$machine/scan.ended")"
  expect "the log ends with the exit status $1" test "$(tail -n 1 "$machine/log.txt")" == "exit status $1"
  sed '1d;$d' "$machine/log.txt" >"$machine/log.body"
  expect "the log holds the report's lines in their order, and the end" \
    diff <(grep -vxF -f "$machine/log-notes.expected" "$machine/log.body") "$machine/scan.lines"
  expect "the log holds exactly the notices and answers expected ($(grep -c . "$machine/log-notes.expected") lines)" \
    same_lines_in_any_order <(cat "$machine/scan.lines" "$machine/log-notes.expected") "$machine/log.body"
}

# The header begins with PREFIX, ends with " UTC ===", and its time lies
# between FROM and TO ("YYYY-MM-DD HH:MM:SS").
log_header_between() {  # log_header_between HEADER PREFIX FROM TO
  local header=$1 prefix=$2 time
  [[ $header == "$prefix"*" UTC ===" ]] || return 1
  time=${header#"$prefix"}
  time=${time% UTC ===}
  [[ $time =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ && ! $time < $3 && ! $time > $4 ]]
}
