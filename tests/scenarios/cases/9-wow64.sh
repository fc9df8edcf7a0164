# 9. A 32-bit trojan on 64-bit Windows. Its writes were redirected: its file
# went to SysWOW64, and a copy to the native system32; its Run values and
# the variant's entries to the 32-bit view of HKLM\Software
# (Software\Wow6432Node as the 64-bit reg.exe names it), one Run value to
# the 64-bit view. Windows starts the Run values of both views; where this
# machine runs 32-bit programs, the trojan runs too, a 32-bit program
# started from SysWOW64. Every one of them goes, each file is reported once
# under its true path, and the clean values of both views stay.
scenarios+=(wow64)
scenario_title[wow64]="9. A 32-bit trojan on 64-bit Windows: files in system32 and SysWOW64, Run values and the variant's entries in both registry views"
through_brisko_scan wow64

# The 9x family, NT 4 and the XP that Wine imitates are 32-bit Windows,
# with one registry view and no SysWOW64; so is every 32-bit prefix.
scenario_wow64_not_for() {
  case $1 in
    win98 | nt40 | winxp) ;;
    *) [[ ${BRISKO_WINE_ARCH:-} == win32 ]] || return 1 ;;
  esac
  echo "32-bit Windows: one registry view and no SysWOW64 (rows 1 to 3 are its case)"
}

# shellcheck source=scripts/lib/thirty-two-bit.sh
source "$top/scripts/lib/thirty-two-bit.sh"

scenario_wow64_partly() {
  runs_32_bit_programs && return 1
  echo "The trojan's running 32-bit process needs a machine that runs 32-bit programs, which this one does not ($refused_32_bit_reason): MemoryScanContract.ARunningThirtyTwoBitInfectedProgramIsEndedAndRemoved ends one where it does, and on the simulated machine."
}

scenario_wow64() {
  local software64='HKLM\Software\Microsoft\Windows\CurrentVersion'
  local software32='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion'
  local native=$c/windows/system32/netsvc32.exe wow=$c/windows/syswow64/netsvc32.exe
  sample_plant netsvc "$native"
  sample_plant netsvc "$wow"
  # key|name|data|removed or kept
  local -a values=(
    "$software32\\Run|netsvc|C:\\windows\\system32\\netsvc32.exe|removed"
    "$software32\\Run|netsvcwow|\"C:\\Windows\\SysWOW64\\netsvc32.exe\" -q|removed"
    "$software32\\RunServices|svcnet|%SystemRoot%\\SysWOW64\\netsvc32.exe|removed"
    "$software64\\Run|netsvc|netsvc32.exe|removed"
    "$software32\\Run|tools|C:\\Program Files (x86)\\Tools\\tools.exe|kept"
    "$software64\\Run|tools|C:\\Program Files\\Tools\\tools.exe|kept"
    "$software32\\Run|Updater|C:\\windows\\system32\\rhcjg7j0e38v.exe|kept"
  )
  registry_table_set "${values[@]}"
  local removed i view
  removed=$(registry_table_removed "${values[@]}")
  # The variant's entries, in both views: they go after a removal, without a
  # line of their own.
  for view in "$software32" "$software64"; do
    registry_set "$view\\Uninstall\\rhcjg7j0e38v" UninstallString 'C:\Program Files\rhcjg7j0e38v\uninstall.exe'
    registry_set "$view\\Uninstall\\rhcjg7j0e38v" DisplayName rhcjg7j0e38v
    registry_set "$view\\Run" SMrhcjg7j0e38v 'C:\windows\system32\rhcjg7j0e38v.exe'
  done

  local finds=$machine/finds.expected scanned infected=2 running=
  {
    printf '%s     %s removed\n' "$(windows_path "$native")" "$(sample_threat netsvc)"
    printf '%s     %s removed\n' "$(windows_path "$wow")" "$(sample_threat netsvc)"
    for ((i = 0; i < removed; i++)); do echo "System Registry     W32/Krenot.Trojan removed"; done
  } >"$finds"
  scanned=$(count_files "$c" "$d")
  local process=$c/windows/syswow64/krenot32.exe
  if runs_32_bit_programs; then
    sample_plant running32 "$process"
    "$wine" 'C:\windows\syswow64\krenot32.exe' </dev/null >/dev/null 2>&1 &
    running=$!
    # Loaded, as the memory scan will find it, under its true path.
    expect "the infected 32-bit program runs" drive listed 'C:\windows\syswow64\krenot32.exe'
    # Handed over by the memory scan under the family's label; the walk no
    # longer sees it.
    printf 'System Memory    W32/Krenot.Trojan  removed\n%s     W32/Krenot.Trojan  removed\n' \
      "$(windows_path "$process")" >>"$finds"
    infected=3
  fi

  program_scan
  read_report
  expect_report "$finds" "$scanned" "$infected" "$infected"
  expect "the file in system32 is gone" test ! -e "$native"
  expect "the file in SysWOW64 is gone" test ! -e "$wow"
  if [[ -n $running ]]; then
    expect "the infected 32-bit program has ended" eventually 5 process_gone "$running"
    expect "its file is gone" test ! -e "$process"
  fi
  registry_table_expect "${values[@]}"
  for view in "$software32" "$software64"; do
    expect "$view: the variant's UninstallString is removed" \
      registry_absent "$view\\Uninstall\\rhcjg7j0e38v" UninstallString
    expect "$view: the variant's Run value is removed" registry_absent "$view\\Run" SMrhcjg7j0e38v
    expect "$view: the uninstall key's DisplayName stays" \
      test "$(registry_value "$view\\Uninstall\\rhcjg7j0e38v" DisplayName)" == rhcjg7j0e38v
  done
  program_ends 1
}
