# What both benchmarks share: their command line, and the rounds they run: the program under test against a baseline
# over the same files, timed one right after the other so that both meet
# much the same load; the first round only warms the caches. Sourced by
# ntfs-scan-benchmark.sh and wine-scan-benchmark.sh.
#
#   read_arguments DEFAULT_FILES "$@"
#
# reads BUILD_DIR [FILES [ROUNDS]] into build_dir (made absolute), files and
# rounds (5 unless given), or exits 2 with the usage.
#
#   run_rounds ROUNDS LABEL TIME_PROGRAM BASELINE_LABEL TIME_BASELINE
#
# TIME_PROGRAM and TIME_BASELINE are commands that print milliseconds. A
# line per round; the times and their ratios are left in the arrays
# program_times, baseline_times and ratios, whose medians are the figures to
# quote.

read_arguments() {
  local default_files=$1
  shift
  if [[ $# -lt 1 || $# -gt 3 ]]; then
    echo "usage: $0 BUILD_DIR [FILES [ROUNDS]]" >&2
    exit 2
  fi
  build_dir=$(cd "$1" && pwd)
  files=${2:-$default_files}
  rounds=${3:-5}
  [[ $files =~ ^[0-9]+$ && $rounds =~ ^[1-9][0-9]*$ ]] || { echo "$0: FILES and ROUNDS are counts" >&2; exit 2; }
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The program's time over the baseline's, two decimals; 0 when the baseline
# took no time.
ratio_of() { awk -v s="$1" -v w="$2" 'BEGIN { printf "%.2f\n", (w > 0) ? s / w : 0 }'; }

run_rounds() {
  local rounds=$1 label=$2 time_program=$3 baseline_label=$4 time_baseline=$5 round program baseline ratio
  program_times=()
  baseline_times=()
  ratios=()
  for ((round = 0; round <= rounds; round++)); do
    program=$("$time_program")
    baseline=$("$time_baseline")
    if ((round == 0)); then
      echo "warm-up: $label $program ms, $baseline_label $baseline ms"
      continue
    fi
    ratio=$(ratio_of "$program" "$baseline")
    echo "round $round: $label $program ms, $baseline_label $baseline ms, ratio $ratio"
    program_times+=("$program")
    baseline_times+=("$baseline")
    ratios+=("$ratio")
  done
}
