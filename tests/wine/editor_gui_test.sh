#!/bin/sh
# editor_gui_test.sh STATE WINE WINESERVER KxC2Map.exe editor_steps MAP
# KxC2Map.exe under Wine in Xvfb, driven by xdotool as a user would: the
# map from the command line, clicks, a drag, a Shift+click fill, road keys,
# Undo and Redo, Save through Ctrl+S and both dialogs; the saved bytes must
# be those editor_steps gets through MapEditor. Then Keys and Mouse opens and
# closes, Exit asks first, and a killed editor's recovery copy is offered at
# the next start.
set -eu
state=$1 wine=$2 wineserver=$3 exe=$4 steps=$5 map=$6
for tool in Xvfb xdotool; do command -v $tool > /dev/null || exit 77; done
home=$(cat "$state")
export WINEPREFIX="$home/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" HOME="$home"
work=$(mktemp -d "$home/gui-XXXXXX")
xvfb=
trap 'kill ${xvfb:-} 2> /dev/null || true' EXIT

# A display of its own; Xvfb names a free one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

# What the screen showed goes beside the test's files.
fail() {
  import -window root "$work/failure.png" 2> /dev/null || true
  echo "FAIL: $* (screen: $work/failure.png)" >&2
  exit 1
}
# The id of the window whose title matches, once it is there.
window() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window \"$1\""
}
gone() {
  for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" > /dev/null 2>&1 || return 0; sleep 0.1; done
  fail "window \"$1\" still there"
}
keys() { xdotool windowfocus "$1"; sleep 0.1; shift; xdotool "$@"; sleep 0.1; }
start() { (cd "$work/app" && "$wine" KxC2Map.exe "$@" > /dev/null 2>&1 &); }

# A portable copy: the settings beside the program name the game.
mkdir -p "$work/app" "$work/game"
cp "$exe" "$work/app/KxC2Map.exe"
: > "$work/game/KORVEX2.EXE"
windows() { printf 'Z:%s' "$1" | tr / '\\'; }
printf '[Locations]\r\nKC2=%s\\\r\n' "$(windows "$work/game")" > "$work/app/KXC2MAP.INI"
cp "$map" "$work/start.map"
"$steps" "$work/start.map" "$work/expected.map" > "$work/steps"

main='^Korvex Command 2 Mapmaker'
start "$(windows "$work/start.map")"
form=$(window "$main") || exit 1
# The client area under Wine's own frame and menu bar at 96 DPI; the map
# view and the terrain list in it as laid out.
eval "$(xdotool getwindowgeometry --shell "$form")"
view_x=$((X + 4 + 7)) view_y=$((Y + 43 + 29))
list_x=$((X + 4 + 661 + 40)) list_y=$((Y + 43 + 32 + 2 + 6))
xdotool windowfocus "$form"
while read -r step a b c d; do
  case $step in
    terrain) xdotool mousemove --sync $list_x $((list_y + 13 * a)) click 1 ;;
    click) xdotool mousemove --sync $((view_x + a)) $((view_y + b)) click 1 ;;
    shiftclick) xdotool mousemove --sync $((view_x + a)) $((view_y + b)) keydown shift click 1 keyup shift ;;
    drag)
      xdotool mousemove --sync $((view_x + a)) $((view_y + b)) mousedown 1
      # A few moves: the editor paints along the line between them.
      for x in $(seq $((view_x + a)) 66 $((view_x + c))) $((view_x + c)); do xdotool mousemove $x $((view_y + d)) sleep 0.05; done
      xdotool mouseup 1 ;;
    key) keys "$form" key "$a" ;;
    undo) keys "$form" key ctrl+z ;;
    redo) keys "$form" key ctrl+y ;;
  esac
  sleep 0.1
done < "$work/steps"

keys "$form" key ctrl+s
box=$(window '^Set map parameters$') || exit 1
keys "$box" key Return
box=$(window '^Save KC2 Map Description$') || exit 1
keys "$box" type "$(windows "$work/saved.map")"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/saved.map" ] && break; sleep 0.1; done
cmp "$work/expected.map" "$work/saved.map" || fail "the saved map differs from the core's"

# Help > Keys and Mouse by its access keys; Esc closes it.
keys "$form" key alt+h k
box=$(window '^Keys and Mouse$') || exit 1
keys "$box" key Escape
gone '^Keys and Mouse$'

# One more change goes unsaved: Exit asks, and Cancel keeps the window.
xdotool mousemove --sync $((view_x + 5 * 44 + 22)) $((view_y + 62)) click 1
keys "$form" key ctrl+q
box=$(window '^Confirm$') || exit 1
keys "$box" key Escape
gone '^Confirm$'
window "$main" > /dev/null || exit 1
# Killed once its recovery copy is written (3 s after the change).
for _ in $(seq 80); do
  find "$WINEPREFIX/drive_c/users" -path '*KxC2Map/recovery/*.map' | grep -q . && break
  sleep 0.1
done
kill -9 "$(xdotool getwindowpid "$form")"
gone "$main"

# The next start offers the copy; Yes shows it unsaved.
start
box=$(window '^Confirm$') || exit 1
keys "$box" key Return
form=$(window "${main}\*\$") || exit 1
keys "$form" key ctrl+q
box=$(window '^Confirm$') || exit 1
keys "$box" key n
gone "$main"
echo "PASS"
