# Sourced by scripts/demo-wine and scripts/smoke-i686: a Wine prefix of our own,
# a display to show windows on, screenshots, and cleaning up what we started.
# Callers set `set -euo pipefail` themselves.

ws_wine=""        # the loader: /usr/lib/wine/wine64 or (i686) /usr/lib/wine/wine
ws_xvfb_pid=""    # set when we started an Xvfb, so that only ours is ended
ws_server_up=""   # set once our prefix's wineserver was made persistent

# ws_prefix PREFIX win64|win32: uses (creating when missing) a prefix that
# offers no Mono or Gecko download and lets windows go without a window
# manager's 2-second wait.
ws_prefix() {
  local prefix="$1" arch="$2"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
  if [ "$arch" = win32 ]; then ws_wine=/usr/lib/wine/wine; else ws_wine=/usr/lib/wine/wine64; fi
  if [ ! -f "$prefix/system.reg" ] || [ ! -f "$prefix/.scrinst-ready" ]; then
    echo "wine: creating the $arch prefix $prefix (once; under emulation this takes minutes)"
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    local log="$(dirname "$prefix")/wineboot.log" attempt created=""
    : >"$log"
    ws_server_up=1  # from here on, cleaning up ends the prefix's processes
    # A program waits at most five minutes for the prefix to be set up, and
    # under emulation on a busy machine that takes longer: the loader then
    # gives up while the setup goes on. Waiting for the setup to end and asking
    # again finishes the job.
    for attempt in 1 2 3; do
      if WINEARCH="$arch" "$ws_wine" wineboot --init >>"$log" 2>&1; then
        created=1
        /usr/lib/wine/wineserver -w
        break
      fi
      echo "wine: the setup outlasted the loader's patience (attempt $attempt); waiting for it to end"
      /usr/lib/wine/wineserver -w
    done
    [ -n "$created" ] || { echo "wine: cannot create the prefix; see $log" >&2; return 1; }
    # Written into the registry file while no wineserver holds it: `wine reg`
    # would cost another minute under emulation.
    grep -q '^\[Software\\\\Wine\\\\X11 Driver\]' "$prefix/user.reg" ||
      printf '\n[Software\\\\Wine\\\\X11 Driver] %s\n"Managed"="N"\n' "$(date +%s)" >>"$prefix/user.reg"
    touch "$prefix/.scrinst-ready"
  fi
  # Wine here does not look in its own font folder: without Marlett the
  # caption buttons draw as letters in the screenshots.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$marlett" "$prefix/drive_c/windows/Fonts/"
  fi
}

# Keeps the prefix's services up between the many short program runs.
ws_server() {
  /usr/lib/wine/wineserver -p
  ws_server_up=1
}

# ws_display [user]: with "user", the caller's own display when it answers;
# otherwise a private virtual screen on the first free display number.
ws_display() {
  if [ "${1:-}" = user ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "display: using your display $DISPLAY"
    return 0
  fi
  local n
  for n in $(seq 90 119); do  # 120 and up belong to scripts/wine-env
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    ws_xvfb_pid=$!
    local tries
    for tries in $(seq 1 50); do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        echo "display: virtual screen $DISPLAY (1024x768)"
        return 0
      fi
      kill -0 "$ws_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$ws_xvfb_pid" 2>/dev/null || true
    wait "$ws_xvfb_pid" 2>/dev/null || true
    ws_xvfb_pid=""
  done
  echo "display: cannot start Xvfb" >&2
  return 1
}

# Ends our prefix's Wine processes and our Xvfb; safe to call twice.
ws_cleanup() {
  if [ -n "$ws_server_up" ] && [ -n "${WINEPREFIX:-}" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    ws_server_up=""
  fi
  if [ -n "$ws_xvfb_pid" ]; then
    kill "$ws_xvfb_pid" 2>/dev/null || true
    wait "$ws_xvfb_pid" 2>/dev/null || true
    ws_xvfb_pid=""
  fi
}

# ws_windows_path /unix/path: the same file seen from Wine's Z: drive.
ws_windows_path() {
  local p="$1"
  printf 'Z:%s' "${p//\//\\}"
}

# ws_shot FILE [LINE]: a screenshot of the screen, or, given a driver line
# `window "..." at X Y size W H`, of that window only.
ws_shot() {
  local file="$1" line="${2:-}"
  local geometry=""
  if [[ "$line" =~ at\ (-?[0-9]+)\ (-?[0-9]+)\ size\ ([0-9]+)\ ([0-9]+) ]]; then
    geometry="${BASH_REMATCH[3]}x${BASH_REMATCH[4]}+${BASH_REMATCH[1]}+${BASH_REMATCH[2]}"
  fi
  if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$file"
  else
    import -window root "$file"
  fi
}
