# Sourced by the scripts that run the Windows programs on a virtual display under Wine's X11
# driver: the environment, then start_display (an Xvfb of its own: sets DISPLAY and xvfb_pid,
# which the caller's cleanup kills) and prepare_x11_prefix (the prefix $cross/wineprefix-x11,
# made once, with the classic fonts and Wine drawing the window frames as Windows would).
# Needs $cross, the mingw build folder.
export LC_ALL=C.UTF-8
export WINEPREFIX=$cross/wineprefix-x11
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export WINEARCH=win64
xvfb_pid=

start_display() {
  # -displayfd says which number it took once it is ready.
  exec 5< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!")
  read -r _ xvfb_pid <&5
  read -r display <&5
  export DISPLAY=:$display
}

prepare_x11_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init >/dev/null 2>&1 || true
  fi
  # The symbols of the caption buttons (Marlett) and the classic fonts, from Debian's fonts-wine,
  # where this Wine build does not look for them.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
}
