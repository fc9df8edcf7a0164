# One scenario's Windows machine: a copy of a template Wine prefix made once
# per Windows version, with brisko.exe, brisko-scan.exe and its wrapper
# C:\brisko-scan.bat, the helpers on C:, a network drive L: for logs, and the
# commands a scenario uses on it. Sourced by run-scenarios.sh after
# scripts/lib/wine-machine.sh; the runner sets run_dir (its own folder) and
# tools (the Windows programs it copies in).
#
#   machine_template VERSION    makes RUN_DIR/templates/VERSION once
#   machine_open VERSION NAME   sets WINEPREFIX to a fresh copy of the
#                               template, machine to its folder, c to its
#                               drive C: and d to its drive D:; L: is
#                               machine/logs
#   machine_close               ends its processes and removes it
#   brisko_start / brisko_wait  start brisko.exe; wait for it to end
#   drive ARGS...               run brisko-driver.exe
#   win PROGRAM ARGS...         run a Windows program of the machine
#   wine_keep_running           one Wine server and its services for the
#                               commands that follow
#   restart                     Wine's restart: processes ended, wineboot -r
#   windows_path FILE           C:\... or D:\... for a file of the machine
#   registry_value KEY NAME     a value's data, through reg query
#   registry_set KEY NAME DATA / registry_absent KEY NAME

machine_template() {
  local version=$1 folder=$run_dir/templates/$1
  [[ -d $folder/prefix ]] && return 0
  mkdir -p "$folder"
  BRISKO_WINE_VERSION=$version wine_machine_make_prefix "$folder" || return 1
  # The 9x family keeps its hosts file in the Windows folder; a clean one
  # is there, as on a real machine.
  [[ $version == win98 ]] && printf '127.0.0.1       localhost\r\n' >"$folder/prefix/drive_c/windows/hosts"
  cp "${tools[@]}" "$folder/prefix/drive_c/"
  # Who runs it, and brisko-scan.exe's whole exit code, as cmd reads them.
  printf '%s\r\n' '@echo off' 'echo machine %COMPUTERNAME%, user %USERNAME%' 'C:\brisko-scan.exe %*' \
    'echo exit code %errorlevel%' >"$folder/prefix/drive_c/brisko-scan.bat"
  # Not a fixed drive: no scan walks it.
  "$wine" reg add 'HKLM\Software\Wine\Drives' /v l: /d network /f >/dev/null 2>&1
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w
}

machine_open() {
  local version=$1 name=$2
  machine=$run_dir/machines/$name-$version
  rm -rf "$machine"
  mkdir -p "$machine/drive_d" "$machine/logs"
  cp -a "$run_dir/templates/$version/prefix" "$machine/prefix"
  export WINEPREFIX=$machine/prefix
  c=$WINEPREFIX/drive_c
  d=$machine/drive_d
  ln -s "$d" "$WINEPREFIX/dosdevices/d:"
  ln -s "$machine/logs" "$WINEPREFIX/dosdevices/l:"
  brisko_pid=
  wine_keep_running
}

# One server, and one start of Wine's own services, for all the Wine
# commands that follow. The services keep the output they are started
# with: /dev/null, not the pipe of a command whose output is read.
wine_keep_running() {
  "$wineserver" -p
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1
}

machine_close() {
  [[ -n ${machine:-} && -d $machine ]] || return 0
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  [[ -z $brisko_pid ]] || wait "$brisko_pid" 2>/dev/null || true
  # A read-only file of Windows is a file without write permission here.
  chmod -R u+w "$machine" 2>/dev/null || true
  rm -rf "$machine"
  machine=
}

win() { "$wine" "$@" </dev/null; }
# The driver's failed checks and what it prints; its passed checks are
# left out.
drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null | tr -d '\r' | sed '/^ok  /d'; }

brisko_start() {
  "$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
  brisko_pid=$!
}

# True when brisko.exe ends within SECONDS.
brisko_wait() {
  local seconds=$1 i
  for ((i = 0; i < seconds * 10; i++)); do
    if ! kill -0 "$brisko_pid" 2>/dev/null; then
      wait "$brisko_pid" 2>/dev/null || true
      brisko_pid=
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# What a real restart does to the deletions left for it.
restart() {
  wine_restart "$machine/wineboot-restart.log"
}

# Windows' view of a path of the machine: C:\x\y for $c/x/y, D:\... for $d/...
windows_path() {
  local path=$1 drive rest
  if [[ $path == "$c"/* ]]; then drive=C; rest=${path#"$c"/}; else drive=D; rest=${path#"$d"/}; fi
  printf '%s:\\%s' "$drive" "${rest//\//\\}"
}

# The data of one registry value, as `reg query` prints it; empty and false
# when the value is not there.
registry_value() {
  local key=$1 name=$2 output
  output=$("$wine" reg query "$key" /v "$name" </dev/null 2>/dev/null | tr -d '\r') || return 1
  awk -v n="$name" 'tolower($1) == tolower(n) { sub(/^ *[^ ]+ +REG_[A-Z_]+ +/, ""); print; found = 1 } END { exit !found }' <<<"$output"
}

registry_set() {  # registry_set KEY NAME DATA
  "$wine" reg add "$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1
}

registry_absent() {  # registry_absent KEY NAME
  ! registry_value "$1" "$2" >/dev/null
}
