#!/usr/bin/env bash
# installer_test.sh SOURCE WIN64_BUILD VERSION CPACK WINE WINESERVER MINGW_CXX (77: skipped)
# Packs the Windows build and installs, runs and uninstalls it in a fresh prefix. Without the
# Windows editor it packs a stand-in that writes down the command line the .map type gives it.
set -euo pipefail
source=$1 win64=$2 version=$3 cpack=$4 wine=$5 wineserver=$6 cxx=$7 kit=kxc2-map-kit-$3
command -v makensis > /dev/null || { echo "makensis not found (package nsis): skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kxc2-installer-XXXXXX")
export WINEPREFIX=$work/wine WINEDEBUG=-all HOME=$work LANG=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap '"$wineserver" -k 2> /dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }; expect() { [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"; }
# Through a file: the services Wine starts keep their output open, and ctest would wait.
wine_out() { "$wine" "$@" > "$work/out" 2>&1 < /dev/null || { cat "$work/out"; fail "wine $*"; }; tr -d '\r' < "$work/out"; }
packing=(-G "NSIS;ZIP" -B "$work")
if ! grep -q CPACK_KXC2_EDITOR "$win64/CPackConfig.cmake"; then
  printf '%s\n' '#include <windows.h>' '#include <cstdio>' 'int main() { FILE* file = std::fopen("C:\\command-line.txt", "w");' \
    'return !file || std::fputs(GetCommandLineA(), file) < 0 || std::fclose(file) != 0; }' | "$cxx" -x c++ -static -s -o "$work/KxC2Map.exe" -
  echo "file(INSTALL $work/KxC2Map.exe DESTINATION \${CMAKE_INSTALL_PREFIX})" > "$work/stand_in.cmake"
  packing+=(-D CPACK_KXC2_EDITOR=ON -D "CPACK_INSTALL_SCRIPTS=$work/stand_in.cmake")
fi
(cd "$win64" && "$cpack" "${packing[@]}") > "$work/out" 2>&1 || { cat "$work/out"; fail cpack; }
# Wine's fonts before the prefix, or windows take whatever the host has; no window manager.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" && cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2> /dev/null || true
printf '%s\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' > "$work/settings.reg"
wine_out wineboot --init > /dev/null && wine_out regedit /S "$work/settings.reg" && "$wineserver" -w
wine_out "$work/$kit-setup.exe" /S > /dev/null
folder=$WINEPREFIX/drive_c/Program\ Files/KxC2\ Map\ Kit
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/KxC2\ Map\ Kit
files=$'KxC2Map.exe\nKxC2Run.exe\nREADME.txt\nkxc2tool.exe\nsamples/coast44x39.map\nsamples/valley20x15.map'
expect "installed" "$(cd "$folder" && find . -type f | cut -c3- | LC_ALL=C sort)" "$(LC_ALL=C sort <<< "$files"$'\nUninstall.exe')"
expect "zip" "$(unzip -Z1 "$work/$kit-win64.zip" | grep -v '/$' | sed "s|^$kit-win64/||" | LC_ALL=C sort)" "$files"
cmp <(sed 's/$/\r/' "$source/README.md") "$folder/README.txt" || fail "README.txt is not README.md with CR LF"
expect "Start menu" "$(ls "$menu" | tr '\n' '|')" "KxC2 Map Kit README.lnk|KxC2Map map editor.lnk|Uninstall.lnk|"
strings -a "$menu/KxC2Map map editor.lnk" | grep -qxF 'C:\Program Files\KxC2 Map Kit\KxC2Map.exe' || fail "editor's shortcut"
for exe in kxc2tool KxC2Run; do
  expect "$exe.exe's version information" "$(strings -el "$folder/$exe.exe" | grep -A1 --no-group-separator -x \
    -e FileVersion -e ProductVersion -e OriginalFilename | tr '\n' ' ')" "FileVersion $version OriginalFilename $exe.exe ProductVersion $version "
done
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KxC2 Map Kit'
while IFS='|' read -r key name value; do
  expect "$key $name" "$(wine_out reg query "$key" ${name:+/v} ${name:-/ve} | sed -n 's/^.*    REG_SZ    //p')" "$value"
done << EOF
HKCR\.map||KxC2Map.map
HKCR\KxC2Map.map\shell\open\command||"C:\Program Files\KxC2 Map Kit\KxC2Map.exe" "%1"
HKCR\KxC2Map.map\DefaultIcon||C:\Program Files\KxC2 Map Kit\KxC2Map.exe,0
$uninstall|DisplayVersion|$version
$uninstall|Publisher|The KxC2 map kit developers
EOF
expect "kxc2tool --version" "$(wine_out 'C:\Program Files\KxC2 Map Kit\kxc2tool.exe' --version)" "kxc2tool $version"
# A folder with a space: the file type must quote the map's path.
mkdir "$WINEPREFIX/drive_c/My Maps" && cp "$source/samples/coast44x39.map" "$WINEPREFIX/drive_c/My Maps/"
if [ -e "$work/KxC2Map.exe" ]; then
  wine_out start /wait 'C:\My Maps\coast44x39.map' > /dev/null
  expect "editor's command line" "$(cat "$WINEPREFIX/drive_c/command-line.txt")" '"C:\Program Files\KxC2 Map Kit\KxC2Map.exe" "C:\My Maps\coast44x39.map"'
else
  # The editor names the map it opened in its recent maps, kept in a settings file beside it.
  settings=$folder/KXC2MAP.INI
  printf '[Locations]\r\nKC2=C:\\\r\n' > "$settings"
  # A server started without a display would keep its windows off the screen.
  "$wineserver" -w
  timeout 60 xvfb-run -a sh -c '"$1" start "C:\My Maps\coast44x39.map" > /dev/null 2>&1 < /dev/null
    until grep -q "^File1=" "$2"; do sleep 0.2; done' sh "$wine" "$settings" || fail "the editor opened no map"
  expect "map the editor opened" "$(grep '^File1=' "$settings" | tr -d '\r')" 'File1=C:\My Maps\coast44x39.map'
  "$wineserver" -k; "$wineserver" -w; rm "$settings"
fi
# The uninstaller goes on from a copy in TEMP: wait for the prefix to idle.
wine_out 'C:\Program Files\KxC2 Map Kit\Uninstall.exe' /S > /dev/null
"$wineserver" -w && ! "$wine" reg query 'HKCR\.map' > /dev/null 2>&1 < /dev/null || fail "the .map key is left"
"$wineserver" -w
expect "left after uninstalling" "$(cd "$WINEPREFIX" && find drive_c -iname '*kxc2*'; grep -i kxc2 "$WINEPREFIX"/*.reg)" ""
