#!/usr/bin/env bash
# desktop-file-validate, appstreamcli and groff on what the kit installs; any
# warning fails. Usage: lint_installed_files.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1 build_dir=$2
for tool in desktop-file-validate appstreamcli groff man; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (./test.sh installs it)"
    exit 77
  fi
done

failed=0
check() {  # check WHAT COMMAND...: fails on a non-zero exit or any output
  local what=$1 output
  shift
  output=$("$@" 2>&1)
  local status=$?
  if [ $status -ne 0 ] || [ -n "$output" ]; then
    echo "FAIL: $what (exit $status)"
    echo "$output"
    failed=1
  else
    echo "ok: $what"
  fi
}

check "desktop entry" desktop-file-validate "$source_dir/packaging/org.kxc2.KxC2Map.desktop"
metainfo=$build_dir/packaging/org.kxc2.KxC2Map.metainfo.xml
# appstreamcli reports success on stdout; only its verdict counts here, with
# pedantic notes allowed but warnings not.
if appstreamcli validate --no-net --explain "$metainfo"; then
  echo "ok: metainfo"
else
  echo "FAIL: metainfo"
  failed=1
fi
for page in KxC2Map KxC2Run kxc2tool; do
  plain=$build_dir/packaging/plain/$page.1
  check "$page.1 (groff -ww)" bash -c 'groff -ww -z -man -Tutf8 "$1"' _ "$plain"
  check "$page.1 (man --warnings)" env LC_ALL=C.UTF-8 MANWIDTH=80 bash -c 'man --warnings -l "$1" >/dev/null' _ "$plain"
done
check "bash completion syntax" bash -n "$source_dir/packaging/completion/kxc2tool"
exit $failed
