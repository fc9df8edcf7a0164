# Shell functions, sourced by the scripts that run brisko.exe under Wine: a
# virtual X display and a throwaway Wine prefix. Each caller owns a work
# folder and calls wine_machine_cleanup when it ends.
#
#   wine_machine_start_display WORK   sets DISPLAY to a fresh Xvfb display
#   wine_machine_make_prefix WORK     sets WINEPREFIX and friends; drive C:
#                                     only (Z:, which points at /, removed),
#                                     with no link out of the prefix
#   wine_machine_cleanup WORK         ends the prefix's processes and Xvfb

wine=${BRISKO_WINE:-/usr/lib/wine/wine64}
wineserver=${BRISKO_WINESERVER:-/usr/lib/wine/wineserver64}
wine_machine_xvfb_pid=

wine_machine_start_display() {
  local work=$1 n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    wine_machine_xvfb_pid=$!
    sleep 1
    if kill -0 "$wine_machine_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    wine_machine_xvfb_pid=
  done
  echo "no free X display" >&2
  return 1
}

wine_machine_make_prefix() {
  local work=$1
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; return 1; }
  "$wineserver" -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  # Wine links the user's Desktop, Documents and other folders to the
  # host's home: a scan of C: would walk, and clean, the host's own files.
  # They become empty folders of the prefix.
  local link
  while IFS= read -r -d '' link; do
    rm "$link" && mkdir "$link"
  done < <(find "$WINEPREFIX/drive_c" -type l -print0)
  # Without a window manager Wine draws the caption bars itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

wine_machine_cleanup() {
  local work=$1
  WINEPREFIX="$work/prefix" "$wineserver" -k >/dev/null 2>&1 || true
  [[ -n $wine_machine_xvfb_pid ]] && kill "$wine_machine_xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
