# Shell functions for checking deletions left for the next start, sourced
# after scripts/lib/wine-machine.sh with WINEPREFIX set:
#
#   wine_restart LOG          what a restart does: every program of the
#                             prefix ends, then Wine starts again (wineboot
#                             -r), which carries out the pending deletions
#   wininit_nul_entries FILE  the NUL= entries of wininit.ini's [rename]
#                             section, one a line
#   windows_sees PATH         true when Windows finds a file at PATH

wine_restart() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w
  "$wine" wineboot -r </dev/null >>"$1" 2>&1
  "$wineserver" -w
}

wininit_nul_entries() {
  [[ -f $1 ]] || return 0
  tr -d '\r' <"$1" | awk '/^\[/ { in_rename = (tolower($0) == "[rename]"); next }
                          in_rename && toupper(substr($0, 1, 4)) == "NUL=" { print substr($0, 5) }'
}

# Given in quotes, the path was not found by Wine's cmd here; short paths
# need none.
windows_sees() {
  "$wine" cmd /c "if exist $1 echo present" </dev/null 2>/dev/null | tr -d '\r' | grep -qx present
}
