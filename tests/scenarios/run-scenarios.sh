#!/usr/bin/env bash
# brisko.exe end to end on every Windows version Wine imitates. For each
# scenario (tests/scenarios/cases/) and version, a copy of a fresh Wine
# prefix set to that version: the scenario plants its files and registry
# values, starts brisko.exe on a virtual display, drives it with
# brisko-driver.exe, answers every question as it says, and checks the
# machine afterwards (and again after Wine's restart where it restarts).
# A row NAME-scan runs the scenario NAME through brisko-scan.exe instead,
# and checks its exit code and log too.
#
#   tests/scenarios/run-scenarios.sh [--ci] [--versions "V..."]
#                                    [--scenarios "NAME..."] [--table FILE]
#                                    BUILD_DIR
#
# --ci runs the subset the continuous integration runs (ci_cells below).
# Prints every check, then the table of scenario x version in Markdown
# (also written to FILE); exits 1 when a cell fails.
set -uo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
here=$top/tests/scenarios
all_versions=(win98 nt40 winxp win7 win10)
# The CI's share: every family's branch once, on three machines (the 9x
# family; NT 5, whose process searches go through PSAPI; later NT, through
# the performance data): the files, hosts paths, the memory scan, the
# deletion at the next start both ways, the registry and a stopped scan;
# brisko-scan.exe's three exit codes of an infected machine: 1 (a running
# program ended), 3010 (restart refused) and 1641 (restart started); and
# both programs on 64-bit Windows, with its two registry views.
ci_cells=(files:win98 hosts:win98 locked-yes:win98 hosts:winxp variant:winxp running:winxp
          autostart:win7 locked-no:win7 stop:win7 wow64:win7
          locked-yes-scan:win98 running-scan:winxp locked-no-scan:win7 wow64-scan:win7)

usage() {
  echo "usage: $0 [--ci] [--versions \"V...\"] [--scenarios \"NAME...\"] [--table FILE] BUILD_DIR" >&2
  exit 2
}
versions=("${all_versions[@]}")
only_scenarios=
table_file=
ci=0
while [[ $# -gt 1 ]]; do
  case $1 in
    --ci) ci=1; shift ;;
    --versions) read -r -a versions <<<"$2"; shift 2 ;;
    --scenarios) only_scenarios=" $2 "; shift 2 ;;
    --table) table_file=$2; shift 2 ;;
    *) usage ;;
  esac
done
[[ $# -eq 1 && -d $1 ]] || usage
build_dir=$(cd "$1" && pwd)

# shellcheck source=scripts/lib/wine-machine.sh
source "$top/scripts/lib/wine-machine.sh"
tools=()
for program in brisko.exe brisko-scan.exe brisko-driver.exe brisko-sample.exe brisko-infected-hosts.exe brisko_schedule_deletion.exe; do
  tools+=("$(wine_machine_find_built "$build_dir" "$program")") || exit 2
done
# shellcheck source=scripts/lib/restart-deletion.sh
source "$top/scripts/lib/restart-deletion.sh"
# shellcheck source=tests/scenarios/lib/machine.sh
source "$here/lib/machine.sh"
# shellcheck source=tests/scenarios/lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=tests/scenarios/lib/samples.sh
source "$here/lib/samples.sh"
# shellcheck source=tests/scenarios/lib/table.sh
source "$here/lib/table.sh"
# shellcheck source=tests/scenarios/lib/program.sh
source "$here/lib/program.sh"

scenarios=()
declare -A scenario_title
for case_file in "$here"/cases/*.sh; do
  # shellcheck source=/dev/null
  source "$case_file"
done

work=
machine=
trap 'machine_close; [[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$build_dir" scenarios || exit 1
run_dir=$work
wine_machine_start_display "$run_dir" || exit 1

selected() {  # selected SCENARIO VERSION
  [[ -z $only_scenarios || $only_scenarios == *" $1 "* ]] || return 1
  [[ $ci -eq 0 || " ${ci_cells[*]} " == *" $1:$2 "* ]]
}

# One cell: the scenario on a fresh copy of the version's machine.
run_cell() {
  local name=$1 version=$2 started reason
  started=$SECONDS
  echo "=== $name on $version: ${scenario_title[$name]}"
  if reason=$(not_on_this_machine "$name" "$version"); then
    echo "simulated machine: $reason"
    record_cell "$name" "$version" simulated "$reason"
    return
  fi
  check_failures=0
  cell_started=$SECONDS
  machine_open "$version" "$name"
  program=brisko.exe
  [[ $name == *-scan ]] && program=brisko-scan.exe
  "scenario_${name%-scan}" "$version"
  machine_close
  local outcome=pass
  [[ $check_failures -eq 0 ]] || outcome=fail
  reason=$(partly_simulated "$name" "$version") || reason=
  record_cell "$name" "$version" "$outcome" "$reason"
  echo "=== $name on $version: $outcome ($((SECONDS - started)) s)"
}

for version in "${versions[@]}"; do
  # The cells to run: those selected whose scenario means something on this
  # version. The others are recorded without making its machine.
  cells=()
  for name in "${scenarios[@]}"; do
    selected "$name" "$version" || continue
    if reason=$(not_for_this_version "$name" "$version"); then
      echo "=== $name on $version does not apply: $reason"
      record_cell "$name" "$version" not-for "$reason"
    else
      cells+=("$name")
    fi
  done
  [[ ${#cells[@]} -gt 0 ]] || continue
  echo "=== making the $version machine"
  started=$SECONDS
  if ! machine_template "$version" || ! samples_make "$version"; then
    for name in "${cells[@]}"; do record_cell "$name" "$version" fail "the $version machine could not be made"; done
    continue
  fi
  echo "=== the $version machine is ready ($((SECONDS - started)) s)"
  for name in "${cells[@]}"; do run_cell "$name" "$version"; done
  rm -rf "$run_dir/templates/$version"
done

print_table "${versions[@]}" | tee ${table_file:+"$table_file"}
echo "Total: $SECONDS s"
table_passed
