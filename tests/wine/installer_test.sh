#!/usr/bin/env bash
# installer_test.sh SOURCE WIN64_BUILD STAND_IN_EXE VERSION CPACK WINE WINESERVER
# Packs the Windows build as ./package-windows.sh does, checks the zip and
# the programs' version information, installs the setup silently into a
# fresh prefix, checks what landed and that it runs, uninstalls, and checks
# that nothing of the kit is left. A build without the Windows editor gets
# the stand-in, which records how the .map file type started it.
# Exit 77 (skipped) without makensis.
set -euo pipefail
source=$1 win64=$2 stand_in=$3 version=$4 cpack=$5 wine=$6 wineserver=$7
if ! command -v makensis >/dev/null; then
  echo "makensis not found (Debian package nsis): skipped"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kxc2-installer-XXXXXX")
export WINEPREFIX="$work/wine" WINEDEBUG=-all HOME="$work" LANG=C.UTF-8 \
  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
expect() { [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"; }
# Wine's output through a file: the services it starts keep their output
# open, and ctest would wait for them.
wine_out() { "$wine" "$@" > "$work/out" 2>&1 < /dev/null || { cat "$work/out"; fail "wine $*"; }; tr -d '\r' < "$work/out"; }

packing=(-G "NSIS;ZIP" -B "$work/packages")
if grep -q CPACK_KXC2_EDITOR "$win64/CPackConfig.cmake"; then
  editor=real
else
  editor=stand-in
  packing+=(-D CPACK_KXC2_EDITOR=ON -D "CPACK_INSTALL_SCRIPTS=$source/tests/wine/stand_in_editor.cmake"
            -D "CPACK_KXC2_STAND_IN=$stand_in")
fi
(cd "$win64" && "$cpack" "${packing[@]}") > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
kit=kxc2-map-kit-$version
programs="KxC2Map.exe
KxC2Run.exe
README.txt
kxc2tool.exe
samples/coast44x39.map
samples/valley20x15.map"

echo "== the portable zip ($editor editor)"
zip=$work/packages/$kit-win64.zip
expect "zip's files" "$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)" "$(sed "s|^|$kit-win64/|" <<<"$programs")"
unzip -q "$zip" -d "$work/zip"
cmp <(sed 's/$/\r/' "$source/README.md") "$work/zip/$kit-win64/README.txt" || fail "README.txt is not README.md with CR LF"

echo "== version information"
# The fixed part: signature, structure version, then FILEVERSION and
# PRODUCTVERSION as major.minor in the high word pair, 0.0 in the low.
IFS=. read -r major minor patch tweak <<<"$version"
word_pair() { printf '%02x%02x%02x%02x' $(($2 & 255)) $(($2 >> 8)) $(($1 & 255)) $(($1 >> 8)); }
words=$(word_pair "$major" "${minor:-0}")$(word_pair "${patch:-0}" "${tweak:-0}")
while IFS='|' read -r exe description; do
  file=$work/zip/$kit-win64/$exe.exe
  od -An -v -tx1 "$file" | tr -d ' \n' | grep -q "bd04effe00000100$words$words" || fail "$exe: no VERSIONINFO $version"
  texts=$(strings -el "$file" | tr '\n' '|')
  for pair in "FileVersion|$version" "ProductVersion|$version" "FileDescription|$description" \
              "OriginalFilename|$exe.exe" "ProductName|KxC2 Map Kit"; do
    [[ "|$texts" == *"|$pair|"* ]] || fail "$exe: no string $pair"
  done
done <<EOF
kxc2tool|KxC2 map kit command-line tool
KxC2Run|KxC2 map kit game launcher
EOF

echo "== a fresh prefix"
mkdir "$WINEPREFIX"
wine_out wineboot --init > /dev/null
"$wineserver" -w
wine_out reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f > /dev/null

echo "== silent install"
wine_out "$work/packages/$kit-setup.exe" /S > /dev/null
folder="$WINEPREFIX/drive_c/Program Files/KxC2 Map Kit"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KxC2 Map Kit"
expect "installed files" "$(cd "$folder" && find . -type f | cut -c3- | LC_ALL=C sort)" \
  "$(printf '%s\nUninstall.exe' "$programs" | LC_ALL=C sort)"
for exe in kxc2tool KxC2Run; do
  cmp "$folder/$exe.exe" "$work/zip/$kit-win64/$exe.exe" || fail "installed $exe.exe differs from the zip's"
done
expect "Start menu" "$(ls "$menu")" "KxC2 Map Kit README.lnk
KxC2Map map editor.lnk
Uninstall.lnk"
strings -a "$menu/KxC2Map map editor.lnk" | grep -qx 'C:\\Program Files\\KxC2 Map Kit\\KxC2Map.exe' ||
  fail "the editor's shortcut does not lead to KxC2Map.exe"

registry_value() {  # KEY [NAME]: the value's text; without a name the key's default
  wine_out reg query "$1" $([ -n "${2:-}" ] && echo /v "$2" || echo /ve) | sed -n 's/^.*    REG_SZ    //p'
}
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KxC2 Map Kit'
while IFS='|' read -r key name value; do
  expect "$key $name" "$(registry_value "$key" "$name")" "$value"
done <<EOF
HKCR\.map||KxC2Map.map
HKCR\KxC2Map.map\shell\open\command||"C:\Program Files\KxC2 Map Kit\KxC2Map.exe" "%1"
HKCR\KxC2Map.map\DefaultIcon||C:\Program Files\KxC2 Map Kit\KxC2Map.exe,0
$uninstall|DisplayName|KxC2 Map Kit
$uninstall|DisplayVersion|$version
$uninstall|Publisher|The KxC2 map kit developers
$uninstall|UninstallString|"C:\Program Files\KxC2 Map Kit\Uninstall.exe"
EOF

echo "== the installed programs"
expect "kxc2tool --version" "$(wine_out 'C:\Program Files\KxC2 Map Kit\kxc2tool.exe' --version)" "kxc2tool $version"
# A folder with a space: the file type must quote the map's path.
mkdir "$WINEPREFIX/drive_c/My Maps"
cp "$source/samples/coast44x39.map" "$WINEPREFIX/drive_c/My Maps/"
if [ $editor = stand-in ]; then
  KXC2_COMMAND_LINE_FILE='C:\command-line.txt' wine_out start /wait 'C:\My Maps\coast44x39.map' > /dev/null
  expect "the editor's command line" "$(cat "$WINEPREFIX/drive_c/command-line.txt")" \
    '"C:\Program Files\KxC2 Map Kit\KxC2Map.exe" "C:\My Maps\coast44x39.map"'
  rm "$WINEPREFIX/drive_c/command-line.txt"
else
  # The editor shows a window: wait for one of its process on a private X
  # server, then end the prefix's programs.
  command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || fail "the editor needs xvfb-run and xdotool"
  timeout 60 xvfb-run -a sh -c '"$1" start "C:\My Maps\coast44x39.map" > /dev/null 2>&1 < /dev/null &&
    xdotool search --sync --classname kxc2map.exe > /dev/null' sh "$wine" || fail "the editor started from a .map showed no window"
  "$wineserver" -k
  "$wineserver" -w
fi

echo "== silent uninstall"
# The uninstaller goes on from a copy in TEMP: wait for the prefix to idle.
wine_out 'C:\Program Files\KxC2 Map Kit\Uninstall.exe' /S > /dev/null
"$wineserver" -w
[ ! -e "$folder" ] || fail "left in Program Files: $(cd "$folder" && find .)"
[ ! -e "$menu" ] || fail "left in the Start menu: $(ls "$menu")"
for key in 'HKCR\.map' 'HKCR\KxC2Map.map' "$uninstall" 'HKLM\Software\The KxC2 map kit developers'; do
  ! "$wine" reg query "$key" > /dev/null 2>&1 < /dev/null || fail "left in the registry: $key"
done
"$wineserver" -w
# Anything else anywhere in the prefix: a file or a registry key by name.
left=$(cd "$WINEPREFIX" && { find drive_c -iname '*kxc2*'; grep -il 'kxc2' ./*.reg || true; })
expect "the kit's traces after uninstalling" "$left" ""
echo "PASS ($editor editor)"
