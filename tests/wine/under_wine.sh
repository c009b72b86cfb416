#!/bin/sh
# under_wine.sh setup|run|cleanup STATE WINE WINESERVER [PROGRAM.exe]
# setup makes a fresh prefix in a temporary folder, named in the file STATE,
# with a server that stays up, so that each program starts in a second;
# cleanup stops the server and removes the folder.
set -eu
mode=$1 state=$2 wine=$3 wineserver=$4
home=$( [ "$mode" = setup ] && mktemp -d "${TMPDIR:-/tmp}/kxc2-wine-XXXXXX" || cat "$state")
export WINEPREFIX="$home/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" HOME="$home" LANG=C.UTF-8
case $mode in
  setup)
    echo "$home" > "$state"
    # Wine's own fonts before the prefix is made, or it does not load them and
    # windows take whatever the host has. Windows appear without a window
    # manager; a crash ends the program, no debugger waits.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2> /dev/null || true
    "$wine" wineboot --init
    printf '%s\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"Times New Roman"="Liberation Serif"' > "$home/settings.reg"
    (cd "$home" && "$wine" regedit /S settings.reg)
    "$wineserver" -w
    # Its output goes nowhere, or ctest would wait for the server to end.
    "$wineserver" -p < /dev/null > /dev/null 2>&1 ;;
  # Through a file: the services the first program starts keep its output
  # open, and ctest would wait for them.
  run)
    out=$(mktemp "$home/out-XXXXXX")
    status=0
    "$wine" "$5" > "$out" 2>&1 || status=$?
    cat "$out"
    exit $status ;;
  cleanup)
    "$wineserver" -k || true
    rm -rf "$home" "$state" ;;
esac
