# The outcome of every cell, and the table of scenario x version in
# Markdown that the runner prints at the end. A reason for a simulated
# machine becomes a numbered note under the table. Sourced by
# run-scenarios.sh, which fills scenarios and scenario_title.
#
#   record_cell NAME VERSION pass|fail|simulated|not-for [REASON]
#   not_for_this_version NAME VERSION  prints why the scenario means
#                                      nothing on that Windows
#                                      (scenario_NAME_not_for, and every
#                                      32-bit version under WoW64)
#   not_on_this_machine NAME VERSION   prints why the scenario cannot run
#                                      there (scenario_NAME_not_here)
#   partly_simulated NAME VERSION      prints what of it Wine cannot show
#                                      there (scenario_NAME_partly)
# A row NAME-scan has the reasons of NAME unless it states its own.
#   print_table VERSION...
#   table_passed                       false when a cell failed

declare -A cell_outcome cell_reason

record_cell() {
  cell_outcome[$1:$2]=$3
  cell_reason[$1:$2]=${4:-}
}

not_for_this_version() {
  # A 32-bit program runs under WoW64 only on 64-bit Windows.
  if [[ ${BRISKO_WINE_ARCH:-} == wow64 && $2 != win7 && $2 != win10 ]]; then
    echo "WoW64 is a part of 64-bit Windows only"
    return 0
  fi
  reason_of "$1" not_for "$2"
}

not_on_this_machine() {
  reason_of "$1" not_here "$2"
}

partly_simulated() {
  reason_of "$1" partly "$2"
}

reason_of() {  # reason_of NAME KIND VERSION
  local name
  for name in "$1" "${1%-scan}"; do
    if declare -F "scenario_${name}_$2" >/dev/null; then
      "scenario_${name}_$2" "$3"
      return
    fi
  done
  return 1
}

print_table() {
  local versions=("$@") name version key cell header rule notes=() i number
  header="| Scenario |"
  rule="|---|"
  for version in "${versions[@]}"; do header+=" $version |"; rule+="---|"; done
  echo "$header"
  echo "$rule"
  for name in "${scenarios[@]}"; do
    local row="| ${scenario_title[$name]} |"
    for version in "${versions[@]}"; do
      key=$name:$version
      cell=${cell_outcome[$key]:-not run}
      if [[ -n ${cell_reason[$key]:-} ]]; then
        number=0
        for i in "${!notes[@]}"; do [[ ${notes[$i]} == "${cell_reason[$key]}" ]] && number=$((i + 1)); done
        if [[ $number -eq 0 ]]; then notes+=("${cell_reason[$key]}"); number=${#notes[@]}; fi
        case $cell in
          simulated) cell="simulated machine ($number)" ;;
          not-for) cell="does not apply ($number)" ;;
          pass) cell="pass; part on the simulated machine ($number)" ;;
          fail) cell="fail ($number)" ;;
        esac
      fi
      row+=" $cell |"
    done
    echo "$row"
  done
  [[ ${#notes[@]} -eq 0 ]] && return
  echo
  for i in "${!notes[@]}"; do echo "$((i + 1)). ${notes[$i]}"; done
}

table_passed() {
  local key
  for key in "${!cell_outcome[@]}"; do [[ ${cell_outcome[$key]} != fail ]] || return 1; done
}
