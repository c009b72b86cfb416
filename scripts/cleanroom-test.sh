#!/usr/bin/env bash
# Runs COMMAND (default ./test.sh) in a brand-new Debian 12, to see what a new
# user sees: a minbase bookworm made by debootstrap, with /proc, /sys and /dev
# mounted into it and a clone of this repository's committed HEAD in /root/kxc2.
# The base system is made once and cached as a tarball (KXC2_CLEANROOM_CACHE,
# default /tmp/kxc2-cleanroom-bookworm.tar); each run unpacks a fresh copy and
# removes it afterwards. Needs root. Exits with COMMAND's exit status.
#
# usage: sudo scripts/cleanroom-test.sh [COMMAND]
#   e.g. sudo scripts/cleanroom-test.sh './package.sh && apt-get install -y ./*.deb'
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
command=${1:-./test.sh}
cache=${KXC2_CLEANROOM_CACHE:-/tmp/kxc2-cleanroom-bookworm.tar}
mirror=${KXC2_CLEANROOM_MIRROR:-http://deb.debian.org/debian}

if [ "$(id -u)" -ne 0 ]; then
  echo "cleanroom-test.sh: debootstrap and chroot need root; run it with sudo." >&2
  exit 2
fi
"$repo/scripts/install-packages.sh" debootstrap git

if [ ! -s "$cache" ]; then
  echo "== Making the base system (debootstrap --variant=minbase bookworm), cached in $cache"
  base=$(mktemp -d /tmp/kxc2-cleanroom-base.XXXXXX)
  debootstrap --variant=minbase bookworm "$base" "$mirror"
  tar -C "$base" -cf "$cache.part" .
  mv "$cache.part" "$cache"
  rm -rf --one-file-system "$base"
fi

room=$(mktemp -d /tmp/kxc2-cleanroom.XXXXXX)
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -R "${mounted[i]}" 2>/dev/null || umount -R -l "${mounted[i]}" || true
  done
  # Never remove through a mount that is still there: that would reach the host.
  if findmnt -rn -o TARGET | grep -q "^$room/"; then
    echo "cleanroom-test.sh: $room still has mounts; left in place." >&2
  else
    rm -rf --one-file-system "$room"
  fi
}
trap cleanup EXIT

tar -C "$room" -xf "$cache"
# mktemp made it 0700; a real system's root folder is open to every user.
chmod 755 "$room"
mount -t proc proc "$room/proc" && mounted+=("$room/proc")
mount --rbind /sys "$room/sys" && mount --make-rslave "$room/sys" && mounted+=("$room/sys")
mount --rbind /dev "$room/dev" && mount --make-rslave "$room/dev" && mounted+=("$room/dev")

# The same package source and network settings as this machine.
cp /etc/resolv.conf "$room/etc/resolv.conf"
if compgen -G "/etc/apt/sources.list.d/*.sources" >/dev/null; then
  cp /etc/apt/sources.list.d/*.sources "$room/etc/apt/sources.list.d/"
  : >"$room/etc/apt/sources.list"
fi
apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|https?::Proxy) ' \
  >"$room/etc/apt/apt.conf.d/99cleanroom" || true

git clone -q "$repo" "$room/root/kxc2"
echo "== In the clean room ($room), at $(git -C "$repo" rev-parse --short HEAD): $command"
start=$(date +%s)
status=0
chroot "$room" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c "cd /root/kxc2 && $command" || status=$?
elapsed=$(($(date +%s) - start))
echo "== Clean room: exit $status after $((elapsed / 60)) min $((elapsed % 60)) s"
exit "$status"
