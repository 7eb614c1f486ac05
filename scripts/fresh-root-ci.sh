#!/usr/bin/env bash
# Runs .ci/run on a machine that has never seen the project: a minimal Debian 12 root (debootstrap
# --variant=minbase) entered with chroot, with only the host's apt sources and configuration copied
# in, so a package the install script forgets shows up as a failure instead of being hidden by what
# the host already has. Run as root.
#
# Usage: scripts/fresh-root-ci.sh REPOSITORY REF [ROOT]
#   REPOSITORY  a git repository or work tree (a path), cloned as CI would clone it
#   REF         the branch or commit to try
#   ROOT        where the roots are kept (default /var/tmp/tollwick-fresh-root):
#                 ROOT/base  the untouched minimal root, made once and reused
#                 ROOT/run   a copy of it for this run, made anew each time and left for a look after
#                 ROOT/ci.log  the run's output
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 REPOSITORY REF [ROOT]" >&2; exit 2; }
repository=$(cd "$1" && pwd)
ref=$2
root=${3:-/var/tmp/tollwick-fresh-root}
base=$root/base
run=$root/run
[ "$(id -u)" = 0 ] || { echo "$0: run as root (debootstrap, mount and chroot need it)" >&2; exit 1; }
mkdir -p "$root"
root=$(cd "$root" && pwd)

# The host's apt sources, and the Debian mirror they name (one-line or deb822 form).
apt_sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && apt_sources+=("$file")
done
host_mirror() {
  awk '/^deb / || /^URIs:/ {
         for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\/.*\/debian\/?$/) { print $i; exit }
       }' "${apt_sources[@]}"
}

if [ ! -f "$root/base.ready" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
  mirror=${MIRROR:-$(host_mirror)}
  [ -n "$mirror" ] || { echo "$0: no Debian mirror in /etc/apt; set MIRROR" >&2; exit 1; }
  rm -rf "$base"
  debootstrap --variant=minbase bookworm "$base" "$mirror"
  touch "$root/base.ready"
fi

# Mounts of an earlier run that was stopped half-way.
unmount_run() {
  local point
  for point in dev/shm dev/pts dev sys proc; do
    if mountpoint -q "$run/$point"; then umount "$run/$point" || umount -l "$run/$point"; fi
  done
}
# Processes left in the root (a wineserver, an X server): started by a run of this script, ended by
# their ids.
stop_run_processes() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$run" ] && kill -KILL "$pid" 2>/dev/null || true
  done
}
stop_run_processes
unmount_run
# Never delete through a mount into the host's /dev or /sys.
for point in proc sys dev dev/pts dev/shm; do
  if mountpoint -q "$run/$point"; then echo "$0: $run/$point is still mounted" >&2; exit 1; fi
done
rm -rf --one-file-system "$run"
cp -a "$base" "$run"

# What the machine itself provides, not the project: reaching the package registry (apt sources and
# settings, name resolution) and, as on the project's machines, packages that never start services.
rm -f "$run/etc/apt/sources.list"
for file in "${apt_sources[@]}" /etc/apt/apt.conf.d/*; do
  [ -f "$file" ] && cp "$file" "$run$file"
done
cp /etc/resolv.conf /etc/hosts "$run/etc/"
[ -f /usr/sbin/policy-rc.d ] && cp /usr/sbin/policy-rc.d "$run/usr/sbin/"

# The clone CI would make.
git clone -q --no-local --no-checkout "$repository" "$run/root/tollwick"
git -C "$run/root/tollwick" checkout -q "$ref"
echo "Trying $(git -C "$run/root/tollwick" log -1 --format='%h %s') in $run"

trap 'stop_run_processes; unmount_run' EXIT
mount -t proc proc "$run/proc"
mount -t sysfs sysfs "$run/sys"
mount --bind /dev "$run/dev"
mount --bind /dev/pts "$run/dev/pts"
mount -t tmpfs -o mode=1777 shm "$run/dev/shm"

start=$(date +%s)
status=0
chroot "$run" /usr/bin/env -i HOME=/root USER=root LOGNAME=root CI=true \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd /root/tollwick && bash .ci/run' </dev/null 2>&1 | tee "$root/ci.log" ||
  status=$?
echo ".ci/run in a fresh root: exit status $status after $(( $(date +%s) - start )) s" |
  tee -a "$root/ci.log"
exit $status
