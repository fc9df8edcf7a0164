# Shell functions, sourced by the scripts that run brisko.exe under Wine: a
# virtual X display and a throwaway Wine prefix. Each caller makes its work
# folder with wine_machine_make_work and calls wine_machine_cleanup when it
# ends.
#
# BRISKO_WINE_ARCH says which prefix the programs under test run in:
#   (unset)  the x86_64 build's: a 64-bit prefix, the 64-bit loader
#   win32    the i686 build's in a 32-bit prefix (WINEARCH=win32), started
#            by the 32-bit loader: the 9x, NT 4 and 32-bit XP and 7 systems
#   wow64    the i686 build's under WoW64: a 64-bit prefix whose loader
#            hands 32-bit programs to the 32-bit one, as 64-bit Windows does
# BRISKO_WINE_VERSION, when set, is the Windows version the prefix presents
# (win98, nt40, winxp, win7, win10); Wine's own is win7.
#
#   wine_machine_make_work BUILD_DIR NAME
#                                     sets work to a fresh folder under
#                                     BUILD_DIR/wine-scratch, after clearing
#                                     what runs that were killed left there;
#                                     for the i686 build on a kernel that
#                                     refuses 32-bit programs, says so and
#                                     ends the script with 77 (a skip to
#                                     ctest)
#   wine_machine_start_display WORK   sets DISPLAY to a fresh Xvfb display
#   wine_machine_make_prefix WORK     sets WINEPREFIX and friends; drive C:
#                                     only (Z:, which points at /, removed),
#                                     with no link out of the prefix; set to
#                                     BRISKO_WINE_VERSION when given
#   wine_machine_cleanup WORK         ends the prefix's processes and Xvfb,
#                                     and removes the folder
#   wine_machine_network_drive_c      makes C: a network drive, so that a
#                                     scan walks only the drives added
#   wine_machine_find_built BUILD_DIR NAME
#                                     prints the path of a built file; ends
#                                     the script when there is none
#   wine_machine_fill_folders ROOT N  N folders of 100 small text files
#                                     under ROOT/Data: a drive the scan
#                                     takes a while to walk

case ${BRISKO_WINE_ARCH:-} in
  "" | wow64) wine_machine_arch=win64 wine_machine_loader=/usr/lib/wine/wine64 ;;
  win32) wine_machine_arch=win32 wine_machine_loader=/usr/lib/wine/wine ;;
  *)
    echo "BRISKO_WINE_ARCH is win32, wow64 or unset, not $BRISKO_WINE_ARCH" >&2
    exit 2
    ;;
esac
wine=${BRISKO_WINE:-$wine_machine_loader}
# The 64-bit server serves 32-bit prefixes too (as Debian's own wineserver
# wrapper chooses it whenever it is installed).
wineserver=${BRISKO_WINESERVER:-/usr/lib/wine/wineserver64}
# No .NET or HTML engine to install, and no menu entries or file
# associations written into the host's home.
wine_machine_dll_overrides='mscoree,mshtml=;winemenubuilder.exe=d'

# Ends what a work folder's run left behind: the Wine processes of its
# prefix, its Xvfb, the folder itself.
wine_machine_cleanup() {
  local work=$1 xvfb
  if [[ -d $work/prefix ]]; then
    # The server writes the registry out as it ends: wait for it to be gone.
    WINEPREFIX="$work/prefix" "$wineserver" -k >/dev/null 2>&1 || true
    WINEPREFIX="$work/prefix" "$wineserver" -w >/dev/null 2>&1 || true
  fi
  if [[ -f $work/xvfb.pid ]]; then
    xvfb=$(<"$work/xvfb.pid")
    if [[ $xvfb =~ ^[0-9]+$ && $(cat "/proc/$xvfb/comm" 2>/dev/null) == Xvfb ]]; then
      kill "$xvfb" 2>/dev/null || true
    fi
  fi
  rm -rf "$work"
}

# A run killed by a time limit never reaches its traps: the next run
# clears the folders whose owner has gone.
wine_machine_clear_leftovers() {
  local scratch=$1 folder owner
  for folder in "$scratch"/*/; do
    [[ -d $folder ]] || continue
    folder=${folder%/}
    owner=$(cat "$folder/owner.pid" 2>/dev/null || true)
    if [[ $owner =~ ^[0-9]+$ ]] && kill -0 "$owner" 2>/dev/null; then continue; fi
    echo "clearing the leftovers of an earlier run: $folder" >&2
    wine_machine_cleanup "$folder"
  done
}

# The i686 build's programs, whichever the prefix, are 32-bit.
wine_machine_skip_without_32_bit() {
  [[ -n ${BRISKO_WINE_ARCH:-} ]] || return 0
  # shellcheck source=scripts/lib/thirty-two-bit.sh
  source "$(dirname "${BASH_SOURCE[0]}")/thirty-two-bit.sh"
  runs_32_bit_programs && return 0
  echo "skipped: $refused_32_bit_reason" >&2
  exit 77
}

wine_machine_make_work() {
  local build_dir=$1 name=$2 scratch
  wine_machine_skip_without_32_bit
  scratch="$build_dir/wine-scratch"
  mkdir -p "$scratch" || { echo "cannot make $scratch" >&2; return 1; }
  wine_machine_clear_leftovers "$scratch"
  work=$(mktemp -d "$scratch/$name.XXXXXX") || { echo "cannot make a work folder under $scratch" >&2; return 1; }
  echo "$$" >"$work/owner.pid"
}

wine_machine_start_display() {
  local work=$1 n xvfb
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    # Read by wine_machine_cleanup, in this run or a later one.
    echo "$xvfb" >"$work/xvfb.pid"
    sleep 1
    if kill -0 "$xvfb" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display" >&2
  return 1
}

wine_machine_network_drive_c() {
  "$wine" reg add 'HKLM\Software\Wine\Drives' /v c: /d network /f >/dev/null 2>&1
  # The drive types are read when the server starts.
  "$wineserver" -k
  "$wineserver" -w || true
}

wine_machine_find_built() {
  local found
  found=$(find "$1" -name "$2" -type f -print -quit)
  [[ -n $found ]] || { echo "$0: no $2 under $1; build it first" >&2; exit 2; }
  echo "$found"
}

wine_machine_make_prefix() {
  local work=$1
  export WINEPREFIX="$work/prefix" WINEARCH=$wine_machine_arch WINEDEBUG=-all \
    WINEDLLOVERRIDES="$wine_machine_dll_overrides"
  # On a loaded machine wineboot has failed now and then in one of its own
  # set-up steps ("ShellExecuteEx failed: Internal error"): a fresh prefix
  # gets one more try.
  if ! "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1; then
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; return 1; }
  fi
  "$wineserver" -w
  if [[ -n ${BRISKO_WINE_VERSION:-} ]]; then
    "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$BRISKO_WINE_VERSION" /f >/dev/null 2>&1
    "$wineserver" -w
  fi
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

wine_machine_fill_folders() {
  local folder file
  for folder in $(seq -w 1 "$2"); do
    mkdir -p "$1/Data/folder$folder"
    for file in $(seq -w 1 100); do echo "$folder $file" >"$1/Data/folder$folder/note$file.txt"; done
  done
}
