# Wine prefix, display and server of the project. Source after common.sh.

DK_PREFIX_VERSION=4   # raise when the prefix set-up below changes

# Creates the prefix once: no Mono or Gecko, Wine's own fonts linked in, the
# usual Windows faces replaced by Liberation, a 1024x768 virtual desktop, and
# the serial ports COM5..COM9 declared on links under $DK_WINE/ports.
dk_prefix() {
  local stamp=$DK_WINE/prefix.stamp
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$DK_PREFIX_VERSION" ]; then return 0; fi
  dk_log "creating the Wine prefix in $WINEPREFIX"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX" "$DK_WINE/ports"
  wineboot -i >"$DK_WINE/wineboot.log" 2>&1 || { cat "$DK_WINE/wineboot.log" >&2; return 1; }
  wineserver -w
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*; do ln -sf "$f" "$fonts/"; done
  local reg=$DK_WINE/setup.reg
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"Arial"="Liberation Sans"\r\n"Times New Roman"="Liberation Serif"\r\n"Courier New"="Liberation Mono"\r\n'
    printf '"MS Sans Serif"="Liberation Sans"\r\n"Microsoft Sans Serif"="Liberation Sans"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for n in $DK_PORTS; do
      printf '"COM%s"="%s"\r\n' "$n" "$(echo "$DK_WINE/ports/com$n" | sed 's/\\/\\\\/g')"
    done
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$DK_WINE/wineboot.log" 2>&1
  wineserver -w
  # Every declared port starts without a device: its link points at a folder,
  # which Wine refuses to open as a port.
  mkdir -p "$DK_WINE/ports/.dead"
  for n in $DK_PORTS; do ln -sfn .dead "$DK_WINE/ports/com$n"; done
  echo "$DK_PREFIX_VERSION" >"$stamp"
}

# Starts what a run needs and is not there yet: Xvfb when there is no display,
# a persistent wineserver. dk_wine_down stops only what this started.
dk_wine_up() {
  mkdir -p "$DK_WINE"
  if [ -z "${DISPLAY:-}" ]; then
    exec 3>"$DK_WINE/display.tmp"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$DK_WINE/xvfb.log" 2>&1 </dev/null &
    DK_XVFB_PID=$!
    exec 3>&-
    local i
    for i in $(seq 100); do [ -s "$DK_WINE/display.tmp" ] && break; sleep 0.05; done
    export DISPLAY=:$(head -n1 "$DK_WINE/display.tmp")
    echo "$DISPLAY" >"$DK_WINE/display"
    dk_log "started Xvfb on $DISPLAY"
  else
    echo "$DISPLAY" >"$DK_WINE/display"
  fi
  if ! wineserver -k0 2>/dev/null; then
    # Not in a session of its own: the server opens the serial ports, and a
    # session leader that opens a pty takes it as its controlling terminal and
    # is hung up when the device end goes away.
    wineserver -p -f >>"$DK_WINE/wineserver.log" 2>&1 </dev/null &
    disown
    DK_WINESERVER_STARTED=1
    sleep 0.2
  fi
  LC_ALL=ru_RU.UTF-8 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

dk_wine_down() {
  if [ -n "${DK_WINESERVER_STARTED:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "${DK_XVFB_PID:-}" ]; then
    kill "$DK_XVFB_PID" 2>/dev/null || true
    rm -f "$DK_WINE/display"
  fi
}
