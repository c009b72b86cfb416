#!/usr/bin/env bash
# Installs the build into a DESTDIR and runs what was installed there: the
# files in their places, kxc2tool against the build's own (same bytes),
# KxC2Run with a stand-in game, the bash completion, and KxC2Map started
# offscreen as a user who may not write its folder, finding its settings in
# XDG_CONFIG_HOME. Usage: installed_tree_test.sh SOURCE_DIR BUILD_DIR KXC2TOOL
set -euo pipefail
source_dir=$1 build_dir=$2 built_tool=$3

work=$(mktemp -d)
editor_pid=
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

root=$work/root
DESTDIR=$root cmake --install "$build_dir" --prefix /usr >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
bin=$root/usr/bin

expected=(
  usr/bin/KxC2Map usr/bin/KxC2Run usr/bin/kxc2tool
  usr/share/applications/org.kxc2.KxC2Map.desktop
  usr/share/metainfo/org.kxc2.KxC2Map.metainfo.xml
  usr/share/bash-completion/completions/kxc2tool
  usr/share/man/man1/KxC2Map.1.gz usr/share/man/man1/KxC2Run.1.gz usr/share/man/man1/kxc2tool.1.gz
  usr/share/doc/kxc2-map-kit/copyright usr/share/doc/kxc2-map-kit/changelog.gz
)
for size in 16 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/org.kxc2.KxC2Map.png"); done
for file in "${expected[@]}"; do [ -f "$root/$file" ] || fail "$file not installed"; done
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$(printf '%s\n' "${expected[@]}" | sort)" ] || fail "installed files differ: $actual"
for size in 16 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/org.kxc2.KxC2Map.png" | grep -q "PNG image data, $size x $size" ||
    fail "icon ${size}x$size has the wrong size"
done
zcat "$root/usr/share/man/man1/kxc2tool.1.gz" | grep -q '^\.TH KXC2TOOL 1 .*KxC2 map kit [0-9]' || fail "kxc2tool.1 has no version"
echo "ok: installed files"

# kxc2tool: the installed program paints and converts the same bytes as the build's.
[ "$("$bin/kxc2tool" --version)" = "$("$built_tool" --version)" ] || fail "kxc2tool --version"
"$bin/kxc2tool" info "$source_dir/samples/valley20x15.map" | grep -q . || fail "kxc2tool info"
for tool in installed built; do
  game=$work/game-$tool
  mkdir -p "$game/UserBMP"
  program=$bin/kxc2tool
  [ $tool = built ] && program=$built_tool
  "$program" paint "$source_dir/samples/valley20x15.map" --game-folder "$game" --map-number 45 --seed 7 --yes >/dev/null
  "$program" shp "$game"/UserBMP/Map45*.bmp --game-folder "$game" --yes >/dev/null
done
[ "$(ls "$work/game-installed/UserMap")" = "$(printf 'Map45%s.shp\n' 00 01 10 11)" ] || fail "installed kxc2tool wrote: $(ls "$work/game-installed/UserMap")"
diff -r "$work/game-installed" "$work/game-built" || fail "installed and built kxc2tool differ"
echo "ok: kxc2tool"

# KxC2Run from a game folder, with a stand-in game that sees MAP in place.
game=$work/kc2
mkdir -p "$game/UserMap"
printf '#!/bin/sh\n[ -d MAP ] && ! [ -e UserMap ] && echo swapped > ../game-saw\n' > "$game/korvex2.exe"
chmod +x "$game/korvex2.exe"
(cd "$game" && PATH=/usr/bin:/bin "$bin/KxC2Run") > "$work/run.log" || fail "KxC2Run exit $?"
[ "$(cat "$work/game-saw" 2>/dev/null)" = swapped ] || fail "the game did not run with MAP in place: $(cat "$work/run.log")"
[ -d "$game/UserMap" ] && ! [ -e "$game/MAP" ] || fail "UserMap not renamed back"
tail -n 1 "$work/run.log" | tr -d '\r' | grep -qx 'This window will self-destruct in 3 seconds.' || fail "KxC2Run's last line: $(tail -n 1 "$work/run.log")"
echo "ok: KxC2Run"

# The completion, as bash-completion loads it.
completion=/usr/share/bash-completion/bash_completion
if [ -f $completion ]; then
  mkdir -p "$work/files"
  touch "$work/files/a.map" "$work/files/B.MAP" "$work/files/c.bmp" "$work/files/d.shp"
  got=$(cd "$work/files" && bash -c '
    source "$1"; source "$2"
    complete_line() {
      read -ra COMP_WORDS <<< "$1"; COMP_WORDS+=("$2"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
      COMP_LINE="$1 $2"; COMP_POINT=${#COMP_LINE}; COMPREPLY=()
      _kxc2tool kxc2tool "$2" "${COMP_WORDS[COMP_CWORD-1]}"
      printf "%s " $(printf "%s\n" "${COMPREPLY[@]}" | sort); echo "/"
    }
    complete_line "kxc2tool" ""
    complete_line "kxc2tool paint" ""
    complete_line "kxc2tool paint a.map" "--w"
    complete_line "kxc2tool paint a.map --tiles" ""
    complete_line "kxc2tool shp c.bmp --game-folder x" ""
    complete_line "kxc2tool unshp" ""
    complete_line "kxc2tool unshp d.shp" ""
  ' _ $completion "$root/usr/share/bash-completion/completions/kxc2tool")
  want='--help --version info paint preview shp unshp /
B.MAP a.map /
--winter /
c.bmp /
c.bmp /
d.shp /
c.bmp /'
  [ "$got" = "$want" ] || fail "completions:
$got
wanted:
$want"
  echo "ok: bash completion"
else
  echo "not checked: bash completion ($completion missing; ./test.sh installs bash-completion)"
fi

# KxC2Map as installed: its folder cannot be written, so its settings come
# from XDG_CONFIG_HOME; it starts offscreen without asking and makes the
# game's folders. As root, run it as nobody to take the write permission away.
config=$work/config
game=$work/editor-game
mkdir -p "$config/KxC2Map" "$game"
printf '[Locations]\r\nKC2=%s/\r\n' "$game" > "$config/KxC2Map/KXC2MAP.INI"
chmod a-w "$bin"
chmod 755 "$work" "$root" "$root/usr"
chmod 777 "$game"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" \
  ASAN_OPTIONS=detect_leaks=0 "${as_user[@]}" "$bin/KxC2Map" >"$work/editor.log" 2>&1 &
editor_pid=$!
for _ in $(seq 100); do
  [ -d "$game/UserBMP" ] && [ -d "$game/UserMap" ] && break
  kill -0 "$editor_pid" 2>/dev/null || break
  sleep 0.1
done
[ -d "$game/UserBMP" ] && [ -d "$game/UserMap" ] || fail "KxC2Map did not start with its settings: $(cat "$work/editor.log")"
kill -0 "$editor_pid" 2>/dev/null || fail "KxC2Map ended: $(cat "$work/editor.log")"
[ "$(ls "$bin")" = "$(printf '%s\n' KxC2Map KxC2Run kxc2tool)" ] || fail "KxC2Map wrote beside itself: $(ls "$bin")"
echo "ok: KxC2Map"
