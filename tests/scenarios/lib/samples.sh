# The synthetic samples the scenarios plant, written once per run by
# brisko-sample.exe on the first machine made, with the name of the threat
# each one is made for. Sourced by run-scenarios.sh.
#
#   samples_make                 writes them into RUN_DIR/samples (once),
#                                with running (a program for the build's
#                                machine) and running32 (a 32-bit one)
#   sample_plant NAME FILE       copies a sample to FILE, making its folder
#   sample_threat NAME           the threat name the program must report

# name: the options and record number given to brisko-sample.
declare -A sample_arguments=(
  [netsvc]="1"
  [updater]="--layout holes 121"
  [setup]="--layout none 5"
  [deep]="--layout one 30"
  [tool]="64"
  [near-probe1]="--near-miss probe1-changed 5"
  [near-probe2]="--near-miss probe2-changed 11"
  [near-short]="--near-miss one-byte-short 7"
  [near-long]="--near-miss one-byte-long 9"
  [near-sections]="--near-miss twenty-one-sections 13"
  [near-far]="--near-miss header-offset-beyond-64k 3"
)

samples_make() {
  local folder=$run_dir/samples name line status=0
  [[ -d $folder ]] && return 0
  mkdir -p "$WINEPREFIX/drive_c/samples"
  wine_keep_running
  for name in "${!sample_arguments[@]}"; do
    # shellcheck disable=SC2086
    line=$(win 'C:\brisko-sample.exe' ${sample_arguments[$name]} "C:\\samples\\$name.exe" 2>&1 | tr -d '\r') ||
      { echo "brisko-sample $name: $line" >&2; status=1; continue; }
    sed -E 's/^.*, record [0-9]+ \((.*)\), (layout|runnable).*$/\1/' <<<"$line" >"$WINEPREFIX/drive_c/samples/$name.threat"
  done
  # The first record that can be made into a program that runs: running for
  # the build under test's own machine, running32 a 32-bit program as the
  # family's are.
  local own=--runnable
  [[ -n ${BRISKO_WINE_ARCH:-} ]] && own=--runnable-i386
  samples_make_runnable running "$own" || status=1
  samples_make_runnable running32 --runnable-i386 || status=1
  "$wineserver" -k
  "$wineserver" -w
  mv "$WINEPREFIX/drive_c/samples" "$folder"
  return "$status"
}

samples_make_runnable() {  # samples_make_runnable NAME OPTION
  local record line
  for record in $(seq 1 125); do
    line=$(win 'C:\brisko-sample.exe' "$2" "$record" "C:\\samples\\$1.exe" 2>/dev/null | tr -d '\r') || continue
    sed -E 's/^.*, record [0-9]+ \((.*)\), runnable.*$/\1/' <<<"$line" >"$WINEPREFIX/drive_c/samples/$1.threat"
    return 0
  done
  echo "no record makes a runnable sample ($2)" >&2
  return 1
}

sample_plant() {
  mkdir -p "$(dirname "$2")"
  cp "$run_dir/samples/$1.exe" "$2"
}

sample_threat() {
  cat "$run_dir/samples/$1.threat"
}
